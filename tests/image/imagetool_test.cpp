#include "image/reader.h"
#include "image/verify.h"
#include "image/writer.h"
#include "tools/imagetool/assemble.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vorn::imagetool {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using namespace image;

Bytes written(const ImageParts& parts) {
    Result<Bytes> bytes = write_image(parts);
    EXPECT_TRUE(bytes.ok()) << bytes.error().message;
    return bytes.ok() ? *bytes : Bytes{};
}

TEST(ImagetoolTest, ProductImageHoldsItsTablesAndPassesVerify) {
    Result<ImageParts> parts = product_image_parts();
    ASSERT_TRUE(parts.ok()) << parts.error().message;
    Bytes bytes = written(*parts);
    Result<Image> image = read_image(bytes);
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_THAT(consistency_problems(*image), IsEmpty());
    EXPECT_THAT(program_problems(*image), IsEmpty());

    const char* functions[] = {"OpenClipboard",    "EmptyClipboard",
                               "SetClipboardData", "CloseClipboard",
                               "GetWindowRect",    "GetWindowPlacement",
                               "GetParent",        "GetWindowLongA",
                               "SetWindowLongA",   "SetLayeredWindowAttributes"};
    ASSERT_EQ(image->dll_commands.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(image->dll_commands[i].function, functions[i]);
        EXPECT_EQ(image->dll_commands[i].library, i == 4 || i == 5 ? "user32" : "") << i;
    }

    ASSERT_EQ(image->libraries.size(), kLibraryCount);
    const SupportLibrary& krnln = image->libraries[library_index(Library::Krnln)];
    EXPECT_EQ(krnln, (SupportLibrary{"krnln", "d09f2340818511d396f6aaf844c7e325", "5", "2",
                                     "\xcf\xb5\xcd\xb3\xba\xcb\xd0\xc4\xd6\xa7\xb3\xd6\xbf\xe2"}));
    EXPECT_EQ(image->libraries[library_index(Library::ELibpp)].description,
              "\xa3\xe5\xa3\xcc\xa3\xc9\xa3\xc2\xa3\xab\xa3\xab");
    EXPECT_EQ(image->libraries[library_index(Library::Iext5)].identifier,
              "{E5000198-4471-40e2-92BC-D0BA075BDBB2}");
    EXPECT_EQ(image->libraries[library_index(Library::HtmlView)].major_version, "2");

    const Section& constants = image->section(SectionKind::Const);
    EXPECT_TRUE(std::equal(constants.stored.begin(), constants.stored.begin() + 8,
                           Bytes{1, 0, 0, 0, 0, 0, 0, 0}.begin()));
    EXPECT_EQ(image->section(SectionKind::Help).stored.size(), 52u);
    EXPECT_EQ(image->section(SectionKind::Var).memory_size, 92u);
    EXPECT_FALSE(image->section(SectionKind::Var).has_stored());
    ASSERT_NE(image->find(SectionKind::Reloc), nullptr);
}

// Sized like the real program, the writer's layout must land on the offsets
// the finished image is known to have.
TEST(ImagetoolTest, FullSizedImageLandsOnTheKnownOffsets) {
    ImageParts parts = *product_image_parts();
    parts.constants.stored.resize(0x1a05, 0);
    parts.form.stored.assign(0x104a1, 0);
    parts.code.stored.assign(0xfa11, 0);
    const std::array<std::pair<FixupKind, std::size_t>, 4> kinds = {{{FixupKind::ImageStart, 12},
                                                                     {FixupKind::ConstData, 813},
                                                                     {FixupKind::VarBlock, 151},
                                                                     {FixupKind::CodeData, 1}}};
    std::uint32_t position = 0xf000;
    parts.fixups.clear();
    for (const auto& [kind, count] : kinds)
        for (std::size_t i = 0; i < count; ++i, position -= 4)
            parts.fixups.push_back({position, kind});
    parts.start_routine = 0x22c55 - 0x132c8;
    parts.var_size = 0x5c;
    const std::array<std::size_t, 4> group_sizes = {957, 10, 72, 104};
    for (std::size_t g = 0; g < 4; ++g)
        parts.groups[g].assign(group_sizes[g], 0x100);
    parts.reloc_declared_size = 0x11e8;

    Bytes bytes = written(parts);
    Result<Image> image = read_image(bytes);
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(image->header.first_section, 0x3cau);
    EXPECT_EQ(image->header.opaque, (std::array<std::uint32_t, 4>{1, 3, 0, 0x10549}));
    EXPECT_EQ(image->header.dll_count, 10u);
    EXPECT_EQ(image->header.start_routine, 0x22c55u);
    EXPECT_EQ(image->header.named_sections,
              (std::array<std::uint32_t, 5>{0x3ca, 0x1e07, 0x122e0, 0x1234c, 0x22cd9}));
    EXPECT_EQ(image->header.value_84, 0x3cau);

    struct Expected {
        const char* name;
        std::uint32_t header;
        std::uint32_t stored;
        std::uint32_t size;
    };
    const Expected expected[] = {
        {"const", 0x3ca, 0x402, 0x1a05},    {"form", 0x1e07, 0x1e3f, 0x104a1},
        {"help", 0x122e0, 0x12318, 0x34},   {"code", 0x1234c, 0x132c8, 0xfa11},
        {"var", 0x22cd9, kNotStored, 0x5c}, {"@reloc1", 0x22d11, 0x22d49, 0x11e8},
    };
    ASSERT_EQ(image->sections.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        const Section& section = image->sections[i];
        EXPECT_EQ(section.name, expected[i].name);
        EXPECT_EQ(section.header_offset, expected[i].header) << section.name;
        EXPECT_EQ(section.stored_offset, expected[i].stored) << section.name;
        EXPECT_EQ(section.memory_size, expected[i].size) << section.name;
    }
    EXPECT_EQ(image->section(SectionKind::Code).fixup_count, 977u);
    EXPECT_EQ(image->extent, 0x22d49u + 0x11e8 + 4);
    EXPECT_EQ(written(parts_of(*image)), bytes);
}

TEST(ImagetoolTest, SampleImageUsesEveryFeatureAndIsConsistent) {
    Result<ImageParts> parts = sample_image_parts();
    ASSERT_TRUE(parts.ok()) << parts.error().message;
    Bytes bytes = written(*parts);
    Result<Image> image = read_image(bytes);
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_THAT(consistency_problems(*image), IsEmpty());
    std::array<bool, kFixupKindCount> kinds{};
    for (const Fixup& fixup : image->section(SectionKind::Code).fixups)
        kinds[static_cast<std::size_t>(fixup.kind)] = true;
    EXPECT_EQ(kinds, (std::array<bool, 4>{true, true, true, true}));
    for (const auto& group : image->groups)
        EXPECT_FALSE(group.empty());
    EXPECT_GT(image->groups_end, image->section(SectionKind::Reloc).stored_offset +
                                     std::uint64_t(image->section(SectionKind::Reloc).stored_count));
}

TEST(ImagetoolTest, DumpListsSectionsTablesAndGroups) {
    Bytes bytes = written(*sample_image_parts());
    std::string dump = dump_image(*read_image(bytes));
    EXPECT_THAT(dump, HasSubstr("@reloc1"));
    EXPECT_THAT(dump, ContainsRegex("\"SetLayeredWindowAttributes\" +library \\(default\\)"));
    EXPECT_THAT(dump, ContainsRegex("\"GetWindowRect\" +library \"user32\""));
    EXPECT_THAT(dump, HasSubstr("{E5000198-4471-40e2-92BC-D0BA075BDBB2}"));
    EXPECT_THAT(dump, HasSubstr("kind 3 code data    1"));
    EXPECT_THAT(dump, HasSubstr("4 library class ids        1: 0x38"));
}

} // namespace
} // namespace vorn::imagetool
