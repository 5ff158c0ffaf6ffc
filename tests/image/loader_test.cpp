#include "image/loader.h"
#include "image/reader.h"
#include "tests/image/test_images.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vorn::image {
namespace {

using namespace testing;
using ::testing::HasSubstr;

constexpr LoadBases kBases{0x00400000, 0x00500000, 0x00600000, 0xfffffff0};

class LoaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bytes = written(full_parts());
        Result<Image> read = read_image(bytes);
        ASSERT_TRUE(read.ok()) << read.error().message;
        image = std::move(*read);
    }

    LoadedImage load(const LoadOptions& options) {
        Result<LoadedImage> loaded = load_image(image, options);
        EXPECT_TRUE(loaded.ok()) << loaded.error().message;
        return loaded.ok() ? std::move(*loaded) : LoadedImage{};
    }

    static std::uint32_t operand(const LoadedImage& loaded, std::uint32_t position) {
        return load_u32(loaded.find(SectionKind::Code)->data() + position);
    }

    Bytes bytes;
    Image image;
};

TEST_F(LoaderTest, BlocksHaveMemorySizeWithStoredBytesThenZeros) {
    LoadedImage loaded = load({kBases, {}});
    ASSERT_EQ(loaded.sections.size(), kSectionKindCount);

    const Bytes& var = *loaded.find(SectionKind::Var);
    EXPECT_EQ(var, Bytes(92, 0));
    const Bytes& form = *loaded.find(SectionKind::Form);
    EXPECT_EQ(form, full_parts().form.stored);

    const Bytes& code = *loaded.find(SectionKind::Code);
    ASSERT_EQ(code.size(), kFull.code_memory);
    EXPECT_TRUE(
        std::all_of(code.begin() + kFull.code_stored, code.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(loaded.start_routine, 0x18u);
}

TEST_F(LoaderTest, FixupsAddTheBaseOfTheirKind) {
    LoadedImage loaded = load({kBases, {}});
    EXPECT_EQ(operand(loaded, 0x04), 0x00400000u + 0x08);         // image start: service slot 2
    EXPECT_EQ(operand(loaded, 0x10), 0x00500000u + kFull.user32); // const data
    EXPECT_EQ(operand(loaded, 0x08), 0x00600000u + 0x10);         // var block
    EXPECT_EQ(operand(loaded, 0x1c), 0x2cu - 0x10);               // code data, wrapping past 2^32
    // Operands without a fix-up are untouched.
    EXPECT_EQ(operand(loaded, 0x20), 0x52010001u);
    EXPECT_EQ(operand(loaded, 0x00), 0x90909090u);
}

TEST_F(LoaderTest, IdentityKeepsGroupOperands) {
    LoadOptions identity{kBases, {}};
    auto same = [](RemapGroup, std::uint32_t, std::uint32_t old) { return old; };
    LoadOptions explicit_identity{kBases, {same, same, same, same}};
    EXPECT_EQ(load(identity).sections[3].memory, load(explicit_identity).sections[3].memory);
    LoadedImage loaded = load(identity);
    EXPECT_EQ(operand(loaded, 0x20), 0x52010001u);
    EXPECT_EQ(operand(loaded, 0x24), 1u);
    EXPECT_EQ(operand(loaded, 0x28), 0u);
    EXPECT_EQ(operand(loaded, 0x2c), 0x20002u);
}

TEST_F(LoaderTest, RemapHooksSeeAndReplaceEachGroupsValues) {
    struct Call {
        RemapGroup group;
        std::uint32_t position;
        std::uint32_t old_value;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls;
    auto record = [&](std::uint32_t offset) {
        return [&calls, offset](RemapGroup group, std::uint32_t position, std::uint32_t old) {
            calls.push_back({group, position, old});
            return old + offset;
        };
    };
    LoadOptions options{kBases, {record(0x100), RemapHook{}, record(0x300), record(0x400)}};
    LoadedImage loaded = load(options);

    const std::vector<Call> expected = {
        {RemapGroup::WindowIds, 0x20, 0x52010001},
        {RemapGroup::LibraryIndices, 0x28, 0},
        {RemapGroup::ClassIds, 0x2c, 0x20002},
        {RemapGroup::ClassIds, 0x14, 0x10001},
    };
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(operand(loaded, 0x20), 0x52010101u);
    EXPECT_EQ(operand(loaded, 0x24), 1u); // group 2 had no hook
    EXPECT_EQ(operand(loaded, 0x28), 0x300u);
    EXPECT_EQ(operand(loaded, 0x14), 0x10401u);
}

TEST_F(LoaderTest, GroupsAreRemappedAfterFixups) {
    image.groups[0] = {0x10}; // also the const fix-up's operand
    std::uint32_t seen = 0;
    LoadOptions options{kBases, {[&](RemapGroup, std::uint32_t, std::uint32_t old) { return seen = old; }}};
    load(options);
    EXPECT_EQ(seen, 0x00500000u + kFull.user32);
}

TEST_F(LoaderTest, RefusesWhatItCannotPlace) {
    Section& var = image.sections[*image.kind_index[index_of(SectionKind::Var)]];
    var.memory_size = UINT32_MAX;
    Result<LoadedImage> huge = load_image(image);
    ASSERT_FALSE(huge.ok());
    EXPECT_THAT(huge.error().message, HasSubstr("more than the 67108864 allowed"));
    var.memory_size = 92;

    image.groups[1].push_back(kFull.code_memory - 3);
    Result<LoadedImage> outside = load_image(image);
    ASSERT_FALSE(outside.ok());
    EXPECT_THAT(outside.error().message, HasSubstr("group 2 entry 1 names code position 0x3d..+4"));
}

} // namespace
} // namespace vorn::image
