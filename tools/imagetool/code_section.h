// The code section of the program's image. The handlers run natively in the
// executable, which the runtime reaches through one dispatcher by code offset,
// so the section holds no handler code of its own. What it holds:
//
//  - at each entry point's offset, a 16-byte record naming the entry and, for
//    an event handler, the element and event it is bound to:
//        +0  u8   role: 'S' the start routine, 'R' a routine no event runs,
//                 'E' an event handler
//        +1  i8   event number (0 for a menu item's click and for routines)
//        +2  u16  the entry's position in the entry-point table
//        +4  u32  window id            (remapping group 1)
//        +8  u32  element id           (remapping group 1)
//        +12 u32  the element's class  (remapping group 4)
//    The start routine's record holds instead the main window's id at +4
//    (group 1) and the clean-up routine's code offset at +8 (a code-base
//    fix-up: once loaded it is the routine's address, handed to the runtime);
//  - from kServiceStubsOffset, the twelve service stubs, one every 8 bytes:
//    `FF 25 <slot offset>` (jmp through the slot), with an image-base fix-up
//    on each operand, padded with int3;
//  - int3 everywhere else, so that a jump into a gap stops at once.
//
// Remapping groups 2 (DLL command indices) and 3 (support-library indices)
// stay empty: no record holds either.
#pragma once

#include "base/bytes.h"
#include "base/result.h"
#include "forms/section.h"
#include "image/image.h"

#include <cstdint>
#include <vector>

namespace vorn::imagetool {

inline constexpr std::uint32_t kEntryRecordSize = 16;
inline constexpr std::uint32_t kServiceStubSize = 8;
inline constexpr std::uint8_t kStartRole = 'S';
inline constexpr std::uint8_t kRoutineRole = 'R';
inline constexpr std::uint8_t kHandlerRole = 'E';

struct CodeSection {
    Bytes bytes;
    std::vector<image::Fixup> fixups;
    image::RemapGroups groups;
    std::uint32_t start_routine = 0; // offset within the code data
};

// Lays out the directory for the entry table with the bindings that `windows`
// makes. Refuses a binding to an offset that is not an entry, an entry bound
// by more than one event (its record can name only one), and a binding to the
// start routine or the clean-up.
Result<CodeSection> build_code_section(const forms::FormSection& windows);

// One record of the directory as stored.
struct EntryRecord {
    std::uint32_t offset = 0;
    std::uint8_t role = 0;
    std::int8_t event = 0;
    std::uint16_t index = 0;
    std::uint32_t window = 0;
    std::uint32_t element = 0;
    std::uint32_t class_id = 0;
};

// The records at the entry table's offsets in a code section's stored bytes;
// an offset past the stored bytes is an error.
Result<std::vector<EntryRecord>> read_entry_directory(ByteView code);

} // namespace vorn::imagetool
