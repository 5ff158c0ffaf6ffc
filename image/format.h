// Wire layout of the program image: field offsets, sizes and the stable numbers
// (section kinds, fix-up kinds, remapping groups, service slots, support
// libraries) that the reader, the writer, the loader and the tools share.
// All integers in the image are 32-bit little-endian; every offset counts from
// the image's first byte unless a comment says otherwise.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vorn::image {

// ---- Image header ---------------------------------------------------------

inline constexpr std::array<std::uint8_t, 4> kMagic = {'W', 'J', 0, 0};

inline constexpr std::uint32_t kMagicOffset = 0;
// Eight slots that the runtime fills at load time; a stored image keeps them zero.
inline constexpr std::uint32_t kStoredSlotsOffset = 4;
inline constexpr std::uint32_t kStoredSlotCount = 8;
inline constexpr std::uint32_t kFirstSectionField = 36;
// Four values whose meaning is left to the runtime (header offsets 40, 44, 48, 52).
inline constexpr std::uint32_t kOpaqueFieldsOffset = 40;
inline constexpr std::size_t kOpaqueFieldCount = 4;
inline constexpr std::uint32_t kDllCountField = 56;
inline constexpr std::uint32_t kStartRoutineField = 60;
// Offsets of the const, form, help, code and var section headers, in that order.
inline constexpr std::uint32_t kNamedSectionsField = 64;
inline constexpr std::size_t kNamedSectionCount = 5;
inline constexpr std::uint32_t kValue84Field = 84;
// N library-name offsets then N function-name offsets; the support-library
// table follows directly.
inline constexpr std::uint32_t kDllTableOffset = 88;
inline constexpr std::uint32_t kFixedHeaderSize = kDllTableOffset;
inline constexpr std::uint32_t kDllEntrySize = 8;

inline constexpr std::array<std::uint32_t, kOpaqueFieldCount> kDefaultOpaqueValues = {1, 3, 0, 0x10549};

static_assert(kStoredSlotsOffset + 4 * kStoredSlotCount == kFirstSectionField);
static_assert(kOpaqueFieldsOffset + 4 * kOpaqueFieldCount == kDllCountField);
static_assert(kNamedSectionsField + 4 * kNamedSectionCount == kValue84Field);
static_assert(kValue84Field + 4 == kDllTableOffset);

// ---- Support-library table ---------------------------------------------------

inline constexpr char kLibraryFieldSeparator = '\x0d';
inline constexpr std::size_t kLibraryFieldCount = 5;

// ---- Section headers ---------------------------------------------------------

inline constexpr std::uint32_t kSectionHeaderSize = 56;
inline constexpr std::uint32_t kSectionNameSize = 20;
inline constexpr std::uint32_t kEndOfChain = 0xFFFFFFFF;
inline constexpr std::uint32_t kNotStored = 0xFFFFFFFF;
inline constexpr std::uint32_t kFixupEntrySize = 4;

// Field offsets inside a section header.
inline constexpr std::uint32_t kSectionLengthField = 0;
inline constexpr std::uint32_t kSectionNextField = 4;
inline constexpr std::uint32_t kSectionFlagsField = 8;
inline constexpr std::uint32_t kSectionNameField = 12;
inline constexpr std::uint32_t kSectionField32 = 32;
inline constexpr std::uint32_t kSectionMemorySizeField = 36;
inline constexpr std::uint32_t kSectionStoredCountField = 40;
inline constexpr std::uint32_t kSectionStoredOffsetField = 44;
inline constexpr std::uint32_t kSectionFixupCountField = 48;
inline constexpr std::uint32_t kSectionField52 = 52;

static_assert(kSectionNameField + kSectionNameSize == kSectionField32);
static_assert(kSectionField52 + 4 == kSectionHeaderSize);

// The sections the system knows. Values index per-kind tables; the first five
// are also the order of the named header offsets at 64..80, and all six are
// the writer's chain order.
enum class SectionKind : std::uint32_t {
    Const = 0,
    Form = 1,
    Help = 2,
    Code = 3,
    Var = 4,
    Reloc = 5,
};
inline constexpr std::size_t kSectionKindCount = 6;

struct SectionTraits {
    std::string_view name;
    std::uint32_t flags;
};

inline constexpr std::array<SectionTraits, kSectionKindCount> kSectionTraits = {{
    {"const", 0x1},
    {"form", 0x1},
    {"help", 0x1},
    {"code", 0x5},
    {"var", 0x13},
    {"@reloc1", 0x1},
}};

constexpr std::size_t index_of(SectionKind kind) {
    return static_cast<std::size_t>(kind);
}
constexpr std::string_view section_name(SectionKind kind) {
    return kSectionTraits[index_of(kind)].name;
}
constexpr std::uint32_t section_flags(SectionKind kind) {
    return kSectionTraits[index_of(kind)].flags;
}

inline constexpr std::array<SectionKind, kSectionKindCount> kAllSectionKinds = {
    SectionKind::Const, SectionKind::Form, SectionKind::Help,
    SectionKind::Code,  SectionKind::Var,  SectionKind::Reloc,
};

static_assert([] {
    for (const SectionTraits& traits : kSectionTraits)
        if (traits.name.empty() || traits.name.size() >= kSectionNameSize)
            return false;
    return true;
}());
static_assert(index_of(SectionKind::Var) + 1 == kNamedSectionCount);

// ---- Code fix-ups ------------------------------------------------------------

// Which base address the loader adds to the 32-bit operand of a fix-up entry.
enum class FixupKind : std::uint32_t {
    ImageStart = 0,
    ConstData = 1,
    VarBlock = 2,
    CodeData = 3,
};
inline constexpr std::size_t kFixupKindCount = 4;
inline constexpr std::uint32_t kFixupKindBits = 3;
inline constexpr std::uint32_t kFixupKindMask = (1u << kFixupKindBits) - 1;
inline constexpr std::uint32_t kMaxFixupPosition = 0xFFFFFFFFu >> kFixupKindBits;

constexpr std::uint32_t encode_fixup(std::uint32_t position, FixupKind kind) {
    return position << kFixupKindBits | static_cast<std::uint32_t>(kind);
}

static_assert(encode_fixup(0x10, FixupKind::CodeData) == 0x83);

// ---- @reloc1 operand remapping groups -----------------------------------------

// Group numbers as the image orders them; each group lists code-data positions
// of 32-bit operands that hold an id or index of the given sort.
enum class RemapGroup : std::uint32_t {
    WindowIds = 1,      // window and control ids (0x5201xxxx, 0x1601xxxx, ...)
    DllCommands = 2,    // DLL command indices
    LibraryIndices = 3, // support-library indices, counted from 0
    ClassIds = 4,       // (library number << 16) | class number
};
inline constexpr std::size_t kRemapGroupCount = 4;

constexpr std::size_t group_index(RemapGroup group) {
    return static_cast<std::size_t>(group) - 1;
}
constexpr RemapGroup group_at(std::size_t index) {
    return static_cast<RemapGroup>(index + 1);
}

// ---- Service slots -------------------------------------------------------------

// Once loaded, the first 52 header bytes are the runtime's service table: slot k
// lives at header offset 4k. Slot 0 overlays the magic and slots 9..12 overlay
// header fields 36..51, which the loader therefore reads before filling them.
enum class ServiceSlot : std::uint32_t {
    ReportError = 0,
    CallDllCommand = 1,
    CallLibraryCommand = 2,
    CallKernelCommand = 3,
    ReadProperty = 4,
    WriteProperty = 5,
    AllocateBlock = 6,
    NotCalled = 7,
    ReleaseBlock = 8,
    EndProgram = 9,
    RunMessageLoop = 10,
    LoadWindow = 11,
    RuntimeHook = 12,
};
inline constexpr std::size_t kServiceSlotCount = 13;

constexpr std::uint32_t slot_offset(ServiceSlot slot) {
    return 4 * static_cast<std::uint32_t>(slot);
}

static_assert(slot_offset(ServiceSlot::ReportError) == kMagicOffset);
static_assert(slot_offset(ServiceSlot::EndProgram) == kFirstSectionField);
static_assert(4 * kServiceSlotCount == 52);

// ---- Support libraries ---------------------------------------------------------

// Positions in this program's support-library table. Library calls pass the
// index; class and type ids use the library number, the index plus 1.
enum class Library : std::uint32_t {
    Krnln = 0,
    EdirectX = 1,
    EApi = 2,
    ELibpp = 3,
    Iext = 4,
    EImgConverter = 5,
    Shell = 6,
    Dp1 = 7,
    Internet = 8,
    FrameAdvLib = 9,
    Iext2 = 10,
    Iext5 = 11,
    HtmlView = 12,
};
inline constexpr std::size_t kLibraryCount = 13;

constexpr std::uint32_t library_index(Library library) {
    return static_cast<std::uint32_t>(library);
}
constexpr std::uint32_t library_number(Library library) {
    return library_index(library) + 1;
}
constexpr std::uint32_t class_id(Library library, std::uint16_t class_number) {
    return library_number(library) << 16 | class_number;
}

static_assert(library_number(Library::Krnln) == 1);
static_assert(library_index(Library::HtmlView) + 1 == kLibraryCount);
static_assert(class_id(Library::EdirectX, 3) == 0x20003);

} // namespace vorn::image
