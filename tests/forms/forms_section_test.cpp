#include "forms/reader.h"
#include "forms/writer.h"
#include "sample_forms.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace vorn;
using namespace vorn::forms;
using namespace vorn::forms::testing;

namespace {

Bytes write_exact(const FormSection& forms) {
    Result<Bytes> bytes = write_forms(forms, WriteRules::exact_copy());
    EXPECT_TRUE(bytes.ok()) << bytes.error().message;
    return bytes.ok() ? bytes.value() : Bytes{};
}

// Expects a read failure whose message contains every fragment.
void expect_rejected(const Bytes& section, std::initializer_list<std::string_view> fragments) {
    Result<FormSection> read = read_forms(section);
    ASSERT_FALSE(read.ok()) << "accepted a malformed section";
    for (std::string_view fragment : fragments)
        EXPECT_NE(read.error().message.find(fragment), std::string::npos)
            << "\"" << read.error().message << "\" lacks \"" << fragment << "\"";
}

void put(Bytes& bytes, std::size_t at, std::uint32_t value) {
    store_u32(bytes.data() + at, value);
}
std::uint32_t get(const Bytes& bytes, std::size_t at) {
    return load_u32(bytes.data() + at);
}

// The layout written out field by field, independently of the writer: one
// window holding its own element and a top-level menu.
Bytes golden_section() {
    ByteWriter out;
    out.u32(8);          // directory size: one window
    out.u32(0x52010001); // window id
    out.u32(7);          // directory value
    out.u32(9);          // unit value
    out.u32(0x19010005); // unit id
    out.u32(0);
    out.u32(0);
    out.u32(2);   // element count
    out.u32(195); // 2 ids + 2 offsets + 115 + 64
    out.u32(0x06010000);
    out.u32(0x26010002);
    out.u32(0);
    out.u32(115);
    // Own element: L = 111.
    out.u32(111);
    out.u32(0x00010001);
    out.zeros(20);
    out.text("");
    out.text("");
    out.u32(0);
    for (std::int32_t value : {50, 50, 100, -80})
        out.i32(value);
    out.u32(0);
    out.u32(0); // parent
    out.u32(0); // children
    out.u32(4);
    out.u32(cursor_id::hand);
    out.text("");
    out.u32(0);
    out.u32(1); // flags
    out.u32(0);
    out.u32(1); // events
    out.i32(-4);
    out.u32(0x1000);
    out.zeros(20);
    // Menu item: L = 60.
    out.u32(60);
    out.u32(0x00010003);
    out.zeros(20);
    out.text("");
    out.text("");
    out.u32(0);
    out.u32(0); // level
    out.u32(1);
    out.text("M");
    out.u32(0xFFFFFFFF);
    out.zeros(16);
    return out.take();
}

// The smallest section that every boundary case edits: the golden one.
constexpr std::size_t kUnitLengthAt = 32;
constexpr std::size_t kOffsetsAt = 44;
constexpr std::size_t kFirstRecordAt = 52;
constexpr std::size_t kMenuRecordAt = kFirstRecordAt + 115;

} // namespace

TEST(FormSection, GoldenBytesReadAndWriteBack) {
    const Bytes golden = golden_section();
    Result<FormSection> read = read_forms(golden);
    ASSERT_TRUE(read.ok()) << read.error().message;
    ASSERT_EQ(read->windows.size(), 1u);
    const Window& window = read->windows[0];
    EXPECT_EQ(window.directory_value, 7u);
    EXPECT_EQ(window.unit_value, 9u);
    EXPECT_EQ(window.unit_id, 0x19010005u);
    ASSERT_EQ(window.elements.size(), 2u);
    const ControlRecord* own = window.elements[0].control();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->height, -80);
    EXPECT_EQ(cursor_of(*own), cursor_id::hand);
    EXPECT_EQ(own->flags, 1u);
    ASSERT_EQ(own->events.size(), 1u);
    EXPECT_EQ(own->events[0].event, -4); // stored as 0xFFFFFFFC
    EXPECT_EQ(own->events[0].handler, 0x1000u);
    EXPECT_TRUE(own->class_block.empty());
    const MenuItemRecord* menu = window.elements[1].menu_item();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->caption, "M");
    EXPECT_EQ(menu->menu_value, 1u);
    EXPECT_EQ(menu->click_handler, kNoHandler);

    Result<Bytes> written = write_forms(*read, WriteRules::exact_copy());
    ASSERT_TRUE(written.ok()) << written.error().message;
    EXPECT_EQ(*written, golden);
}

TEST(FormSection, SampleRoundTripsByteForByte) {
    const FormSection sample = sample_forms();
    WriteRules rules;
    const std::set<std::uint32_t> handlers = sample_handlers();
    rules.known_handler = [&](std::uint32_t offset) { return handlers.count(offset) != 0; };
    Result<Bytes> first = write_forms(sample, rules);
    ASSERT_TRUE(first.ok()) << first.error().message;
    Result<FormSection> read = read_forms(*first);
    ASSERT_TRUE(read.ok()) << read.error().message;
    EXPECT_EQ(*read, sample);
    EXPECT_EQ(write_exact(*read), *first);
}

TEST(FormSection, KeepsOpaqueAndReservedValues) {
    FormSection forms = sample_forms();
    Window& window = forms.windows[1];
    window.unit_reserved_a = 0xDEAD;
    Element& element = window.elements[2];
    element.reserved[3] = 0x5A;
    element.second_text = "x";
    element.reserved_after_texts = 0x77;
    ControlRecord& control = *element.control();
    control.reserved_b = 1;
    control.reserved_d = 2;
    control.reserved_e[19] = 3;
    control.tag = "t";
    control.cursor_block = {1, 2, 3, 4, 5, 6};
    window.elements.push_back(make_menu_item(0x26010999, 0, "m", kNoHandler));
    window.elements.back().menu_item()->reserved[0] = 9;
    const Bytes bytes = write_exact(forms);
    Result<FormSection> read = read_forms(bytes);
    ASSERT_TRUE(read.ok()) << read.error().message;
    EXPECT_EQ(*read, forms);
}

TEST(FormSection, LookupByWindowAndElement) {
    const FormSection forms = sample_forms();
    const Element* picture = find_element(forms, 0x52010001, 0x16010002);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->class_id, class_id::picture_box);
    // The same element id in another window is a different element (or none).
    EXPECT_EQ(find_element(forms, 0x520100B4, 0x16010002), nullptr);
    EXPECT_EQ(find_element(forms, 0x52019999, 0x16010002), nullptr);

    Result<const Element*> missing_window = lookup_element(forms, 0x52019999, 0x16010002);
    ASSERT_FALSE(missing_window.ok());
    EXPECT_NE(missing_window.error().message.find("0x52019999"), std::string::npos);
    Result<const Element*> missing_element = lookup_element(forms, 0x52010001, 0x16019999);
    ASSERT_FALSE(missing_element.ok());
    EXPECT_NE(missing_element.error().message.find("0x16019999"), std::string::npos);
    Result<const Element*> found = lookup_element(forms, 0x520100B4, 0x160100B8);
    ASSERT_TRUE(found.ok());
    EXPECT_EQ(cursor_of(*(*found)->control()), cursor_id::cross);
}

TEST(FormSection, SectionEndBoundary) {
    Bytes section = golden_section();
    ASSERT_TRUE(read_forms(section).ok());
    section.push_back(0);
    expect_rejected(section, {"1 bytes follow the last window unit"});
    section.pop_back();
    section.pop_back();
    expect_rejected(section, {"window 0 (0x52010001)", "unit length"});
    expect_rejected(Bytes{0, 0, 0}, {"directory size"});
    EXPECT_TRUE(read_forms(Bytes{0, 0, 0, 0}).ok()) << "no windows at all is a valid, empty section";
}

TEST(FormSection, DirectoryBoundary) {
    Bytes section = golden_section();
    put(section, 0, 12);
    expect_rejected(section, {"not a multiple of 8"});
    put(section, 0, 0xFFFFFFF8);
    expect_rejected(section, {"window directory", "do not fit"});
    put(section, 0, 0xFFFFFFFF);
    expect_rejected(section, {"not a multiple of 8"});
}

TEST(FormSection, UnitLengthBoundary) {
    Bytes section = golden_section();
    const std::uint32_t length = get(section, kUnitLengthAt);
    put(section, kUnitLengthAt, length + 1);
    expect_rejected(section, {"window 0 (0x52010001)", "runs past the section end"});
    put(section, kUnitLengthAt, 0xFFFFFFFF);
    expect_rejected(section, {"runs past the section end"});
    // A longer unit with the bytes really there: the records do not fill it.
    put(section, kUnitLengthAt, length + 4);
    section.insert(section.end(), 4, 0);
    expect_rejected(section, {"leaves 4 bytes after the last element record"});
    // Shorter than its records: the last record no longer fits in the unit.
    section = golden_section();
    put(section, kUnitLengthAt, length - 1);
    expect_rejected(section, {"element 1 (0x26010002)", "runs past the end of its unit"});
}

TEST(FormSection, ElementCountAndOffsets) {
    Bytes section = golden_section();
    put(section, 28, 0xFFFFFFFF);
    expect_rejected(section, {"shorter than the 4294967295 element ids and offsets"});

    section = golden_section();
    put(section, kOffsetsAt, 4);
    expect_rejected(section, {"element 0 (0x6010000)", "first offset must be 0"});
    section = golden_section();
    put(section, kOffsetsAt + 4, 116);
    expect_rejected(section,
                    {"element 1 (0x26010002)", "offset 0x74 does not match the record position 0x73"});
}

TEST(FormSection, RecordLengthBoundary) {
    Bytes section = golden_section();
    put(section, kMenuRecordAt, 61);
    expect_rejected(section, {"element 1 (0x26010002)", "runs past the end of its unit"});
    put(section, kMenuRecordAt, 0xFFFFFFFF);
    expect_rejected(section, {"runs past the end of its unit"});
    // A record length that stops inside the fixed fields.
    section = golden_section();
    put(section, kFirstRecordAt, 40);
    expect_rejected(section, {"element 0 (0x6010000)"});
}

TEST(FormSection, CountsThatCannotFit) {
    const std::size_t children_at = kFirstRecordAt + 4 + 4 + 20 + 2 + 4 + 16 + 4 + 4;
    Bytes section = golden_section();
    put(section, children_at, 0xFFFFFFFF);
    expect_rejected(section, {"element 0 (0x6010000)", "child ids"});
    section = golden_section();
    put(section, children_at + 4, 0xFFFFFFFF);
    expect_rejected(section, {"cursor block declares 4294967295 bytes"});
    section = golden_section();
    const std::size_t events_at = children_at + 4 + 8 + 1 + 12;
    ASSERT_EQ(get(section, events_at), 1u);
    put(section, events_at, 0xFFFFFFFF);
    expect_rejected(section, {"event table"});
    // One binding more than the record holds.
    put(section, events_at, 4);
    expect_rejected(section, {"event table"});
}

TEST(FormSection, TextWithoutTerminator) {
    Bytes section = golden_section();
    // The menu caption "M" runs into the handler and reserved bytes, which are
    // made non-zero up to the record's end.
    const std::size_t caption_at = kMenuRecordAt + 4 + 4 + 20 + 2 + 4 + 8;
    ASSERT_EQ(section[caption_at], 'M');
    for (std::size_t i = caption_at + 1; i < section.size(); ++i)
        section[i] = 'x';
    expect_rejected(section, {"element 1 (0x26010002)", "menu caption has no terminating zero byte"});
}

TEST(FormSection, MenuRecordWithExtraBytes) {
    Bytes section = golden_section();
    section.insert(section.end(), 4, 0);
    put(section, kMenuRecordAt, 64);
    put(section, kUnitLengthAt, 199);
    expect_rejected(section, {"element 1 (0x26010002)", "4 bytes that its layout does not hold"});
}

TEST(FormSection, ClassBlockTooShortForItsVersion) {
    FormSection forms = sample_forms();
    Element* target = find_element(forms, 0x52010001, 0x1601041F);
    ASSERT_NE(target, nullptr);
    Bytes& block = target->control()->class_block;
    block.resize(block.size() - 2);
    const Bytes section = write_exact(forms);
    expect_rejected(
        section, {"window 0 (0x52010001)", "element 14 (0x1601041f)", "label block values after the text"});
    // The same bytes read without block checks keep the block for a later look.
    Result<FormSection> lenient = read_forms(section, 0, ReadOptions{.check_class_blocks = false});
    ASSERT_TRUE(lenient.ok()) << lenient.error().message;
    EXPECT_EQ(*lenient, forms);
}

TEST(FormSection, ErrorOffsetsCountFromTheImage) {
    Bytes section = golden_section();
    put(section, kOffsetsAt, 4);
    Result<FormSection> read = read_forms(section, 0x1e3f);
    ASSERT_FALSE(read.ok());
    EXPECT_NE(read.error().message.find(hex(0x1e3f + kOffsetsAt)), std::string::npos) << read.error().message;
}

TEST(FormSection, RegressionFilesStayRejected) {
    const std::filesystem::path dir = std::filesystem::path(VORN_TEST_DATA) / "forms" / "regressions";
    ASSERT_TRUE(std::filesystem::exists(dir));
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".bin")
            continue;
        ++checked;
        std::ifstream file(entry.path(), std::ios::binary);
        const Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        std::ifstream expected_file(std::filesystem::path(entry.path()).replace_extension(".error"));
        std::string expected;
        std::getline(expected_file, expected);
        ASSERT_FALSE(expected.empty()) << entry.path() << " has no .error file";
        Result<FormSection> read = read_forms(bytes);
        ASSERT_FALSE(read.ok()) << entry.path();
        EXPECT_NE(read.error().message.find(expected), std::string::npos)
            << entry.path() << ": " << read.error().message;
    }
    EXPECT_GT(checked, 0);
}

// The fuzzer's seeds are written by this helper; set VORN_UPDATE_CORPUS=1 to
// regenerate them after a change of the format or the sample.
TEST(FormSection, SeedCorpusIsCurrent) {
    const std::filesystem::path dir =
        std::filesystem::path(VORN_TEST_DATA) / ".." / ".." / "fuzz" / "corpus" / "forms";
    const bool update = std::getenv("VORN_UPDATE_CORPUS") != nullptr;
    for (const auto& [name, bytes] : seed_sections()) {
        ASSERT_TRUE(read_forms(bytes).ok()) << name;
        const std::filesystem::path path = dir / name;
        if (update) {
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
            continue;
        }
        std::ifstream file(path, std::ios::binary);
        const Bytes stored((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_TRUE(stored == bytes) << path << " is stale; rerun with VORN_UPDATE_CORPUS=1";
    }
}
