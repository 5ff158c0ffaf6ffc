#include "forms/dump.h"
#include "forms/gbk_utf8.h"
#include "sample_forms.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

using namespace vorn;
using namespace vorn::forms;
using namespace vorn::forms::testing;

namespace {

void expect_lines(const std::string& dump, std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines)
        EXPECT_NE(dump.find(line), std::string::npos) << "missing: " << line;
}

} // namespace

TEST(Dump, ShowsWindowsElementsEventsAndProperties) {
    const std::string dump = dump_forms(sample_forms());
    if (std::getenv("VORN_SHOW_DUMP"))
        std::cout << dump;
    expect_lines(
        dump,
        {
            "form section: 3 windows\n",
            "window 0x52010001, unit id 0x19010005, directory value 0x3a, unit value 0x1b2, 18 elements\n",
            "  caption \"Vorn截图工具2.0\", at 50, 50, outer size 678 x 554, flags 0x0 (hidden)\n",
            "    [1] 0x160104e8 \"按钮_复制\" picture button 超级按钮\n",
            "      at 238, 8 size 40 x 48, parent window, flags 0x15 (visible, focusable, bit 4), "
            "cursor hand\n",
            "      event 0 clicked -> 0x23010\n",
            "        text #10 = \"复制\"\n",
            "        picture #14 = <96 bytes>\n",
            "      at 0, 0 size 458 x 24, parent 0x160100f5, flags 0x0 (hidden), cursor hand\n",
            "      children 0x160100f6\n",
            "      event -3 double-clicked -> 0x23080\n",
            "      event -4 right button pressed -> 0x23090\n",
            "      menu level 0, value 1, caption \"编辑\", click none\n",
            "      menu level 1, value 0, caption \"清除图片\", click 0x230a0\n",
            "      class block: empty (defaults)\n",
            "    [0] 0x06010000 \"\" window 窗口\n",
            "        back colour #11 = 0x00ffff00\n",
            "      class block: version 5, ",
            "        drawing mode #40 = 5\n",
            "        pen colour #42 = 0x000000ff\n",
            "        font #13 = height -21, weight 400, italic 0, charset 134, face \"\"\n",
            "        password character #31 = '*'\n",
            "        attributes = [0, 0, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0]\n",
        });
}

TEST(Dump, ShowsDamagedDataInsteadOfFailing) {
    FormSection forms = sample_forms();
    Element& label = *find_element(forms, 0x52010001, 0x1601041F);
    label.name = "\x81\x30ok"; // not a GBK pair
    label.control()->class_block.resize(10);
    label.control()->events.push_back({-7, 0x1234});
    label.control()->cursor_block = {1};
    label.reserved_after_texts = 5;
    forms.windows[0].elements[3].class_id = 0x00440001;
    const std::string dump = dump_forms(forms);
    expect_lines(dump,
                 {
                     "\"\\x810ok\" label",
                     "class block: 10 bytes, does not decode: class block at 0x4: label block fields 2-7",
                     "event -7 (not an event of this class) -> 0x1234\n",
                     "cursor block of 1 bytes\n",
                     "reserved record fields are not zero\n",
                     "unknown class 0x00440001\n",
                 });
}

TEST(Dump, GbkTextBecomesUtf8) {
    EXPECT_EQ(detail::gbk_to_utf8(gbk("截图 V6.0")), "截图 V6.0");
    EXPECT_EQ(detail::gbk_to_utf8("ascii"), "ascii");
    EXPECT_EQ(detail::gbk_to_utf8("a\xb0"), "a\\xb0") << "a lead byte without its trail byte";
    EXPECT_EQ(detail::gbk_to_utf8("\xff\xff"
                                  "b"),
              "\\xff\\xffb");
}
