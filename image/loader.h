// The format half of loading an image: memory blocks for its sections, code
// fix-ups applied, operand groups remapped. Filling the service slots, building
// windows and calling the start routine belong to the runtime.
#pragma once

#include "base/bytes.h"
#include "base/result.h"
#include "image/image.h"

#include <functional>
#include <string>

namespace vorn::image {

// The 32-bit base addresses added by the four fix-up kinds.
struct LoadBases {
    std::uint32_t image_start = 0;
    std::uint32_t const_data = 0;
    std::uint32_t var_block = 0;
    std::uint32_t code_data = 0;

    std::uint32_t of(FixupKind kind) const;
};

// Returns the new value of the operand at `position` in the code block.
using RemapHook =
    std::function<std::uint32_t(RemapGroup group, std::uint32_t position, std::uint32_t old_value)>;

struct LoadOptions {
    LoadBases bases;
    // One hook per group (group 1 at index 0); an empty hook keeps the values.
    std::array<RemapHook, kRemapGroupCount> remap;
};

struct LoadedSection {
    std::string name;
    Bytes memory; // memory_size bytes: the stored bytes, then zeros
};

struct LoadedImage {
    std::vector<LoadedSection> sections; // in chain order
    std::array<std::optional<std::size_t>, kSectionKindCount> kind_index{};
    std::uint32_t start_routine = 0; // offset within the code block

    const Bytes* find(SectionKind kind) const {
        const auto& at = kind_index[index_of(kind)];
        return at ? &sections[*at].memory : nullptr;
    }
};

// No image of ours comes near this; it keeps a hostile memory size from
// turning into a multi-gigabyte allocation.
inline constexpr std::uint64_t kMaxLoadedBytes = 64u << 20;

Result<LoadedImage> load_image(const Image& image, const LoadOptions& options = {});

} // namespace vorn::image
