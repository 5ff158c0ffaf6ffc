#include "image/reader.h"
#include "image/verify.h"
#include "tests/image/test_images.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vorn::image {
namespace {

using namespace testing;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::vector<std::string> problems_of(const Bytes& bytes) {
    Result<Image> image = read_image(bytes);
    EXPECT_TRUE(image.ok()) << image.error().message;
    return image.ok() ? consistency_problems(*image) : std::vector<std::string>{"unreadable"};
}

TEST(VerifyTest, ImageInWriterLayoutIsConsistent) {
    EXPECT_THAT(problems_of(written(full_parts())), IsEmpty());
}

TEST(VerifyTest, FindsOverlapsBetweenTablesAndSections) {
    Bytes bytes = written(full_parts());
    Image image = *read_image(bytes);
    const Section& help = image.section(SectionKind::Help);
    std::uint32_t inside_table = image.library_table_end - 4;
    put_u32(bytes, help.header_offset + kSectionStoredOffsetField, inside_table);
    put_u32(bytes, help.header_offset + kSectionStoredCountField, 2);
    EXPECT_THAT(problems_of(bytes),
                ElementsAre(HasSubstr("the stored bytes of section \"help\" (" + hex(inside_table) + ".." +
                                      hex(inside_table + 2) + ") overlaps the support-library table")));

    // The groups' real end counts: stored bytes placed where group 4 overruns collide with it.
    bytes = written(full_parts());
    const Section& form = image.section(SectionKind::Form);
    put_u32(bytes, form.header_offset + kSectionStoredOffsetField,
            static_cast<std::uint32_t>(bytes.size() - 4));
    put_u32(bytes, form.header_offset + kSectionStoredCountField, 4);
    EXPECT_THAT(problems_of(bytes), ElementsAre(HasSubstr("the stored bytes of section \"form\" (" +
                                                          hex(bytes.size() - 4) + "..")));
}

TEST(VerifyTest, FindsOperandsThatDoNotFitTheirMeaning) {
    ImageParts parts = full_parts();
    store_u32(parts.code.stored.data() + 0x04, 0x34);       // past the 13 service slots
    store_u32(parts.code.stored.data() + 0x08, 92);         // one past the var block
    store_u32(parts.code.stored.data() + 0x20, 0x53010001); // no such id kind
    store_u32(parts.code.stored.data() + 0x24, 2);          // two DLL commands only
    store_u32(parts.code.stored.data() + 0x28, 2);          // two libraries only
    store_u32(parts.code.stored.data() + 0x2c, 0x30001);    // library number 3
    parts.fixups.push_back({0x12, FixupKind::ConstData});
    EXPECT_THAT(
        problems_of(written(parts)),
        ElementsAre(HasSubstr("fix-up 1 at code 0x4: operand 0x34 lies outside the service table"),
                    HasSubstr("fix-up 3 at code 0x8: operand 0x5c lies outside the var block"),
                    HasSubstr("fix-up 4 at code 0x12: operand 0x10000 lies outside the const"),
                    HasSubstr("fix-ups at code 0x10 and 0x12 patch overlapping operands"),
                    HasSubstr("group 1 entry 0: operand 0x53010001 at code 0x20 is not a window"),
                    HasSubstr("group 2 entry 0: operand 0x2 at code 0x24 is not a DLL command index"),
                    HasSubstr("group 3 entry 0: operand 0x2 at code 0x28 is not a support-library index"),
                    HasSubstr("group 4 entry 0: operand 0x30001 at code 0x2c does not name")));
}

TEST(VerifyTest, FindsMalformedTableEntriesAndSectionFields) {
    ImageParts parts = full_parts();
    parts.libraries[0].identifier = "d09f2340818511d396f6aaf844c7e32"; // 31 digits
    parts.libraries[1].identifier = "{E5000198-4471-40e2-92BC_D0BA075BDBB2}";
    parts.libraries[1].minor_version = "0a";
    parts.dll_commands[1].function = parts.dll_commands[1].library; // the empty text
    Bytes bytes = written(parts);
    Image image = *read_image(bytes);
    put_u32(bytes, image.section(SectionKind::Code).header_offset + kSectionFlagsField, 1);
    put_u32(bytes, image.section(SectionKind::Help).header_offset + kSectionField52, 1);
    EXPECT_THAT(problems_of(bytes),
                ElementsAre(HasSubstr("section \"help\" has non-zero header fields 32/52"),
                            HasSubstr("section \"code\" has flags 0x1, expected 0x5"),
                            HasSubstr("DLL command 1 names no function"),
                            HasSubstr("support library 0 (\"krnln\") has identifier"),
                            HasSubstr("support library 1 (\"iext5\") has identifier"),
                            HasSubstr("support library 1 (\"iext5\") has version \"2.0a\"")));
}

} // namespace
} // namespace vorn::image
