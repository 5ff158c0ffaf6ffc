#include "image/reader.h"
#include "image/writer.h"
#include "tests/image/test_images.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vorn::image {
namespace {

using namespace testing;
using ::testing::HasSubstr;

std::string write_error(const ImageParts& parts) {
    Result<Bytes> bytes = write_image(parts);
    return bytes.ok() ? std::string() : bytes.error().message;
}

TEST(WriterTest, RoundTripReproducesBytesAndParts) {
    ImageParts overrun = full_parts();
    ImageParts exact = full_parts();
    exact.reloc_declared_size.reset();
    ImageParts padded = full_parts();
    padded.reloc_declared_size = static_cast<std::uint32_t>(encode_groups(padded.groups).size() + 8);
    for (const ImageParts& parts : {overrun, exact, padded}) {
        Bytes bytes = written(parts);
        Result<Image> image = read_image(bytes);
        ASSERT_TRUE(image.ok()) << image.error().message;
        EXPECT_EQ(parts_of(*image), parts);
        EXPECT_EQ(written(parts_of(*image)), bytes);
    }
}

// Offsets within a full-sized image are checked against known numbers in
// imagetool_test; this covers what those fixed contents cannot vary.
TEST(WriterTest, PlacesTablesAndSectionsBackToBack) {
    ImageParts parts = full_parts();
    parts.opaque = {7, 8, 9, 10};
    Bytes bytes = written(parts);
    Result<Image> image = read_image(bytes);
    ASSERT_TRUE(image.ok());

    EXPECT_EQ(image->header.opaque, parts.opaque);
    EXPECT_EQ(image->header.value_84, image->header.first_section);
    EXPECT_EQ(image->library_table_offset, kDllTableOffset + 2 * kDllEntrySize);
    EXPECT_EQ(image->header.first_section, image->library_table_end);
    for (std::size_t i = 0; i + 1 < image->sections.size(); ++i) {
        const Section& section = image->sections[i];
        std::uint32_t end = section.header_offset + section.length + section.stored_count;
        EXPECT_EQ(image->sections[i + 1].header_offset, end) << section.name;
    }
    const Section& var = image->section(SectionKind::Var);
    EXPECT_EQ(var.stored_offset, kNotStored);
    EXPECT_EQ(image->section(SectionKind::Code).length, kSectionHeaderSize + 4 * 4);
}

TEST(WriterTest, RefusesInconsistentParts) {
    struct Case {
        const char* name;
        void (*change)(ImageParts&);
        const char* error; // empty: accepted
    };
    const Case cases[] = {
        {"dll name at the last const byte",
         [](ImageParts& p) {
             p.constants.stored.back() = 0;
             p.dll_commands[0].library = kFull.unterminated;
         },
         ""},
        {"dll name past const", [](ImageParts& p) { p.dll_commands[1].library = 42; },
         "library name of DLL command 1 at const offset 0x2a is not a zero-terminated text"},
        {"dll name unterminated", [](ImageParts& p) { p.dll_commands[0].function = kFull.unterminated; },
         "function name of DLL command 0 at const offset 0x29"},
        {"dll name UINT32_MAX", [](ImageParts& p) { p.dll_commands[0].function = UINT32_MAX; },
         "function name of DLL command 0"},
        {"fix-up at the code end", [](ImageParts& p) { p.fixups[2].position = kFull.code_memory - 4; }, ""},
        {"fix-up past code", [](ImageParts& p) { p.fixups[2].position = kFull.code_memory - 3; },
         "fix-up 2 names code position 0x3d..+4, past the 0x40-byte code section"},
        {"fix-up kind 4", [](ImageParts& p) { p.fixups[1].kind = static_cast<FixupKind>(4); },
         "fix-up 1 has kind 4"},
        {"fix-up position too wide", [](ImageParts& p) { p.fixups[0].position = kMaxFixupPosition + 1; },
         "does not fit in 29 bits"},
        {"start at the last code byte", [](ImageParts& p) { p.start_routine = kFull.code_stored - 1; }, ""},
        {"start past stored code", [](ImageParts& p) { p.start_routine = kFull.code_stored; },
         "start routine at code offset 0x30 lies outside the 0x30 stored bytes"},
        {"library field with 0x0d", [](ImageParts& p) { p.libraries[1].description = "a\rb"; },
         "support library 1 (\"iext5\"): field 4 contains a 0x0d or zero byte"},
        {"library field with zero", [](ImageParts& p) { p.libraries[0].name.push_back('\0'); },
         "support library 0 (\"krnln\\x00\"): field 0"},
        {"group entry past code", [](ImageParts& p) { p.groups[3].push_back(kFull.code_memory - 2); },
         "group 4 entry 2 names code position 0x3e..+4"},
        {"memory smaller than stored", [](ImageParts& p) { p.form.memory_size = 2; },
         "form section: memory size 0x2 is smaller than its 0x6 stored bytes"},
    };
    for (const Case& c : cases) {
        ImageParts parts = full_parts();
        c.change(parts);
        if (*c.error == 0) {
            EXPECT_EQ(write_error(parts), "") << c.name;
        } else {
            EXPECT_THAT(write_error(parts), HasSubstr(c.error)) << c.name;
        }
    }
}

} // namespace
} // namespace vorn::image
