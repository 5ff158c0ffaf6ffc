#include "image/reader.h"
#include "image/writer.h"
#include "tests/image/test_images.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace vorn::image {
namespace {

using namespace testing;
using ::testing::HasSubstr;

class ReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bytes = written(full_parts());
        Result<Image> image = read_image(bytes);
        ASSERT_TRUE(image.ok()) << image.error().message;
        for (SectionKind kind : kAllSectionKinds)
            header[index_of(kind)] = image->section(kind).header_offset;
        reloc_data = image->section(SectionKind::Reloc).stored_offset;
        library_table = image->library_table_offset;
    }

    std::uint32_t field(SectionKind kind, std::uint32_t offset) const {
        return header[index_of(kind)] + offset;
    }

    Bytes bytes;
    std::array<std::uint32_t, kSectionKindCount> header{};
    std::uint32_t reloc_data = 0;
    std::uint32_t library_table = 0;
};

TEST_F(ReaderTest, ReadsEveryPartOfTheImage) {
    Result<Image> image = read_image(bytes);
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image->header.opaque, kDefaultOpaqueValues);
    ASSERT_EQ(image->dll_commands.size(), 2u);
    EXPECT_EQ(image->dll_commands[0].library, "user32");
    EXPECT_EQ(image->dll_commands[0].function, "GetParent");
    EXPECT_EQ(image->dll_commands[1].library, "");
    EXPECT_EQ(image->dll_commands[1].function, "Beep");
    ASSERT_EQ(image->libraries.size(), 2u);
    EXPECT_EQ(image->libraries[1].identifier, "{E5000198-4471-40e2-92BC-D0BA075BDBB2}");
    EXPECT_EQ(image->libraries[0].description, "\xcf\xb5\xcd\xb3");

    ASSERT_EQ(image->sections.size(), kSectionKindCount);
    const Section& var = image->section(SectionKind::Var);
    EXPECT_FALSE(var.has_stored());
    EXPECT_EQ(var.memory_size, 92u);
    const Section& code = image->section(SectionKind::Code);
    EXPECT_EQ(code.memory_size, kFull.code_memory);
    EXPECT_EQ(code.stored.size(), kFull.code_stored);
    EXPECT_EQ(code.fixups, full_parts().fixups); // stored order, unsorted
    EXPECT_EQ(image->start_in_code(), 0x18u);
    EXPECT_EQ(image->groups, full_parts().groups);

    // The last group entry lies past the declared size and the image ends there.
    const Section& reloc = image->section(SectionKind::Reloc);
    EXPECT_EQ(image->groups_end, std::uint64_t(reloc.stored_offset) + reloc.stored_count + 4);
    EXPECT_EQ(image->extent, bytes.size());
}

TEST_F(ReaderTest, ImageMayBeFollowedByOtherData) {
    Bytes longer = bytes;
    longer.insert(longer.end(), 100, 0xee);
    Result<Image> image = read_image(longer);
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(image->extent, bytes.size());
}

TEST_F(ReaderTest, RelocSectionIsOptional) {
    bytes[field(SectionKind::Reloc, kSectionNameField) + 6] = '2'; // "@reloc2"
    Result<Image> image = read_image(bytes);
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(image->find(SectionKind::Reloc), nullptr);
    EXPECT_EQ(image->sections.size(), kSectionKindCount);
    for (const auto& group : image->groups)
        EXPECT_TRUE(group.empty());
}

TEST_F(ReaderTest, GroupsAreReadByTheirCountsUpToTheBufferEnd) {
    // The full image ends exactly with group 4's overrunning entry.
    EXPECT_EQ(read_error(bytes), "");
    Bytes short_by_one(bytes.begin(), bytes.end() - 1);
    EXPECT_THAT(read_error(short_by_one), HasSubstr("group 4: 2 entries of 4 bytes do not fit"));

    std::uint32_t group4_count = reloc_data + 3 * 8;
    put_u32(bytes, group4_count, UINT32_MAX);
    EXPECT_THAT(read_error(bytes), HasSubstr("@reloc1 groups at " + hex(group4_count + 4) +
                                             ": group 4: 4294967295 entries of 4 bytes do not fit"));
}

TEST_F(ReaderTest, GroupPositionMustLeaveRoomForItsOperand) {
    std::uint32_t group1_entry = reloc_data + 4;
    put_u32(bytes, group1_entry, kFull.code_memory - 4);
    EXPECT_EQ(read_error(bytes), "");
    put_u32(bytes, group1_entry, kFull.code_memory - 3);
    EXPECT_THAT(read_error(bytes), HasSubstr("@reloc1 groups at " + hex(group1_entry) + ": group 1 entry 0"));
    put_u32(bytes, group1_entry, UINT32_MAX);
    EXPECT_THAT(read_error(bytes), HasSubstr("past the 0x40-byte code section"));
}

TEST_F(ReaderTest, StoredBytesMustLieInTheBuffer) {
    // Without the overrun, @reloc1's stored bytes end exactly at the buffer end.
    ImageParts parts = full_parts();
    parts.reloc_declared_size.reset();
    bytes = written(parts);
    Result<Image> image = read_image(bytes);
    ASSERT_TRUE(image.ok());
    std::uint32_t reloc = image->section(SectionKind::Reloc).header_offset;
    std::uint32_t size = image->section(SectionKind::Reloc).stored_count;
    EXPECT_EQ(image->section(SectionKind::Reloc).stored_offset + size, bytes.size());

    put_u32(bytes, reloc + kSectionMemorySizeField, size + 1);
    put_u32(bytes, reloc + kSectionStoredCountField, size + 1);
    EXPECT_THAT(read_error(bytes), HasSubstr("section header 5 (\"@reloc1\") at " +
                                             hex(reloc + kSectionStoredOffsetField) + ": stored bytes"));
    EXPECT_THAT(read_error(bytes), HasSubstr("run past the end of the buffer"));

    put_u32(bytes, reloc + kSectionMemorySizeField, UINT32_MAX);
    put_u32(bytes, reloc + kSectionStoredCountField, UINT32_MAX);
    EXPECT_THAT(read_error(bytes), HasSubstr("run past the end of the buffer"));
    put_u32(bytes, reloc + kSectionStoredOffsetField, UINT32_MAX - 1);
    put_u32(bytes, reloc + kSectionStoredCountField, 2);
    EXPECT_THAT(read_error(bytes), HasSubstr("run past the end of the buffer"));
}

TEST_F(ReaderTest, StoredCountIsBoundedByMemorySizeAndOffset) {
    put_u32(bytes, field(SectionKind::Form, kSectionMemorySizeField), 5);
    EXPECT_THAT(read_error(bytes), HasSubstr("stored count 0x6 exceeds the memory size 0x5"));
    put_u32(bytes, field(SectionKind::Form, kSectionMemorySizeField), 6);

    put_u32(bytes, field(SectionKind::Var, kSectionStoredCountField), 4);
    EXPECT_THAT(read_error(bytes),
                HasSubstr("(\"var\") at " + hex(field(SectionKind::Var, kSectionStoredCountField)) +
                          ": stored count 0x4 but no stored offset"));
}

TEST_F(ReaderTest, FixupListFollowsItsCount) {
    std::uint32_t count = field(SectionKind::Code, kSectionFixupCountField);
    put_u32(bytes, count, UINT32_MAX);
    EXPECT_THAT(read_error(bytes), HasSubstr("header length 72 does not match 56 + 4 x 4294967295"));
    // A consistent but huge length runs off the buffer instead.
    put_u32(bytes, field(SectionKind::Code, kSectionLengthField), 56 + 4 * 0x1000000u);
    put_u32(bytes, count, 0x1000000);
    EXPECT_THAT(read_error(bytes), HasSubstr("fix-up list: 16777216 entries of 4 bytes do not fit"));
}

TEST_F(ReaderTest, FixupEntriesAreChecked) {
    std::uint32_t first = field(SectionKind::Code, kSectionHeaderSize);
    put_u32(bytes, first, encode_fixup(kFull.code_memory - 4, FixupKind::CodeData));
    EXPECT_EQ(read_error(bytes), "");
    put_u32(bytes, first, encode_fixup(kFull.code_memory - 3, FixupKind::CodeData));
    EXPECT_THAT(read_error(bytes),
                HasSubstr("(\"code\") at " + hex(first) + ": fix-up entry 0 patches 0x3d..+4"));
    put_u32(bytes, first, UINT32_MAX);
    EXPECT_THAT(read_error(bytes), HasSubstr("fix-up entry 0 has kind 7"));
    put_u32(bytes, first, encode_fixup(0, FixupKind::ImageStart));
    for (std::uint32_t kind = 4; kind < 8; ++kind) {
        put_u32(bytes, first + 8, 0x10 << 3 | kind);
        EXPECT_THAT(read_error(bytes), HasSubstr("(\"code\") at " + hex(first + 8) +
                                                 ": fix-up entry 2 has kind " + std::to_string(kind)));
    }
}

TEST_F(ReaderTest, StartRoutineMustLieInStoredCode) {
    std::uint32_t code = get_u32(bytes, field(SectionKind::Code, kSectionStoredOffsetField));
    put_u32(bytes, kStartRoutineField, code);
    EXPECT_EQ(read_error(bytes), "");
    put_u32(bytes, kStartRoutineField, code + kFull.code_stored - 1);
    EXPECT_EQ(read_error(bytes), "");
    put_u32(bytes, kStartRoutineField, code + kFull.code_stored);
    EXPECT_THAT(read_error(bytes), HasSubstr("image header at 0x3c: start routine offset"));
    put_u32(bytes, kStartRoutineField, code - 1);
    EXPECT_THAT(read_error(bytes), HasSubstr("outside the code section's stored bytes"));
    put_u32(bytes, kStartRoutineField, UINT32_MAX);
    EXPECT_THAT(read_error(bytes), HasSubstr("outside the code section's stored bytes"));
}

TEST_F(ReaderTest, HeaderIsChecked) {
    EXPECT_THAT(read_error(ByteView(bytes).first(0)), HasSubstr("image header at 0x0: magic needs 4 bytes"));
    EXPECT_THAT(read_error(ByteView(bytes).first(kFixedHeaderSize - 1)),
                HasSubstr("image header at 0x54: header value 84 needs 4 bytes, only 3 left"));

    Bytes bad = bytes;
    bad[1] = 'K';
    EXPECT_THAT(read_error(bad), HasSubstr("image header at 0x0: magic is not \"WJ\""));
    bad = bytes;
    put_u32(bad, slot_offset(ServiceSlot::ReleaseBlock), 0x401000);
    EXPECT_THAT(read_error(bad), HasSubstr("image header at 0x20: service slot 8 holds 0x401000"));

    put_u32(bytes, kDllCountField, UINT32_MAX);
    EXPECT_THAT(read_error(bytes),
                HasSubstr("DLL command table at 0x58: DLL command table: 4294967295 entries"));
}

TEST_F(ReaderTest, DllNamesMustBeTerminatedTextsInConstData) {
    std::uint32_t const_size = get_u32(bytes, field(SectionKind::Const, kSectionStoredCountField));
    std::uint32_t const_data = get_u32(bytes, field(SectionKind::Const, kSectionStoredOffsetField));
    std::uint32_t second_function = kDllTableOffset + 4 * 3;

    put_u32(bytes, second_function, const_size);
    EXPECT_THAT(read_error(bytes), HasSubstr("DLL command table at " + hex(second_function) +
                                             ": function name of DLL command 1 at const offset"));
    put_u32(bytes, second_function, UINT32_MAX);
    EXPECT_THAT(read_error(bytes), HasSubstr("lies outside the"));
    put_u32(bytes, second_function, kFull.unterminated);
    EXPECT_THAT(read_error(bytes),
                HasSubstr("const data at " + hex(const_data + kFull.unterminated) +
                          ": function name of DLL command 1 has no terminating zero byte"));
}

TEST_F(ReaderTest, SupportLibraryTextsAreChecked) {
    // Truncated inside the first library's text.
    EXPECT_THAT(read_error(ByteView(bytes).first(library_table + 10)),
                HasSubstr("support-library table at " + hex(library_table) +
                          ": support library 0 has no terminating zero byte"));

    Bytes bad = bytes;
    bad[library_table + 5] = 'x'; // the separator after "krnln"
    EXPECT_THAT(read_error(bad), HasSubstr("support library 0 has 4 fields separated by 0x0d, expected 5"));
    bad = bytes;
    bad[library_table + 7] = kLibraryFieldSeparator;
    EXPECT_THAT(read_error(bad), HasSubstr("support library 0 has more than 5 fields"));
}

TEST_F(ReaderTest, SectionChainIsChecked) {
    Bytes bad = bytes;
    put_u32(bad, field(SectionKind::Reloc, kSectionNextField), header[index_of(SectionKind::Help)]);
    EXPECT_THAT(read_error(bad), HasSubstr("section header 5 (\"@reloc1\") at " +
                                           hex(field(SectionKind::Reloc, kSectionNextField)) +
                                           ": next section header offset " + hex(header[2]) +
                                           " leads back to section header 2, a loop"));
    put_u32(bad, field(SectionKind::Reloc, kSectionNextField), header[index_of(SectionKind::Reloc)]);
    EXPECT_THAT(read_error(bad), HasSubstr("leads back to section header 5"));

    // A header that starts inside the buffer but runs off its end.
    bad = bytes;
    put_u32(bad, field(SectionKind::Reloc, kSectionNextField),
            std::uint32_t(bad.size() - kSectionHeaderSize + 1));
    EXPECT_THAT(read_error(bad), HasSubstr("section header 6 at " + hex(bad.size() - kSectionHeaderSize + 1) +
                                           ": section header needs 56 bytes, only 55 left"));
    put_u32(bad, field(SectionKind::Reloc, kSectionNextField), 0xFFFFFFFE);
    EXPECT_THAT(read_error(bad),
                HasSubstr("section header 6 at 0xfffffffe: section header lies past the end"));

    bad = bytes;
    std::fill_n(bad.begin() + field(SectionKind::Help, kSectionNameField), kSectionNameSize, 'h');
    EXPECT_THAT(read_error(bad),
                HasSubstr("section header 2 at " + hex(field(SectionKind::Help, kSectionNameField)) +
                          ": name has no terminating zero byte"));

    bad = bytes;
    bad[field(SectionKind::Help, kSectionNameField)] = 'f';
    bad[field(SectionKind::Help, kSectionNameField) + 1] = 'o';
    bad[field(SectionKind::Help, kSectionNameField) + 2] = 'r';
    bad[field(SectionKind::Help, kSectionNameField) + 3] = 'm';
    EXPECT_THAT(read_error(bad), HasSubstr("section header 2 (\"form\") at " + hex(header[2]) +
                                           ": name already used by section header 1"));

    bad = bytes;
    bad[field(SectionKind::Form, kSectionFixupCountField)] = 1;
    put_u32(bad, field(SectionKind::Form, kSectionLengthField), kSectionHeaderSize + 4);
    EXPECT_THAT(read_error(bad), HasSubstr("only the code section carries fix-up entries"));
}

TEST_F(ReaderTest, NamedHeaderOffsetsMustMatchTheChain) {
    std::uint32_t help_field = kNamedSectionsField + 4 * index_of(SectionKind::Help);
    put_u32(bytes, help_field, header[index_of(SectionKind::Form)]);
    EXPECT_THAT(read_error(bytes),
                HasSubstr("image header at " + hex(help_field) + ": offset of the help section header (" +
                          hex(header[1]) + ") names section header 1 (\"form\")"));
    put_u32(bytes, help_field, header[index_of(SectionKind::Help)] + 4);
    EXPECT_THAT(read_error(bytes), HasSubstr("names no header in the chain"));
}

// Inputs that once failed, each with the error it must keep producing.
TEST(ReaderRegressions, KeepTheirErrors) {
    struct Case {
        const char* file;
        const char* error;
    };
    const Case cases[] = {
        {"chain-loop.bin", "(\"@reloc1\") at 0x61f: next section header offset 0x3ca leads back to section "
                           "header 0, a loop"},
        {"fixup-kind-5.bin", "(\"code\") at 0x593: fix-up entry 0 has kind 5"},
        {"group-overrun-cut.bin", "@reloc1 groups at 0x66f: group 4: 1 entries of 4 bytes do not fit"},
    };
    for (const Case& c : cases) {
        std::ifstream in(std::string(VORN_TEST_DATA) + "/image/regressions/" + c.file, std::ios::binary);
        ASSERT_TRUE(in) << c.file;
        Bytes data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_THAT(read_error(data), HasSubstr(c.error)) << c.file;
    }
}

} // namespace
} // namespace vorn::image
