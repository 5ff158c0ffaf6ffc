#include "runtime/core/engine/raster.h"

namespace vorn::runtime {

namespace {

constexpr std::int32_t kLastDrawMode = 15;
constexpr picture::Pixel kColourBits = 0x00FFFFFF;

} // namespace

std::int32_t rop2_for_draw_mode(std::int32_t draw_mode) {
    return draw_mode >= 0 && draw_mode <= kLastDrawMode ? draw_mode + 1 : kCopyPen;
}

picture::Pixel apply_rop2(std::int32_t rop2, picture::Pixel pen, picture::Pixel destination) {
    // R2 code minus one is a truth table indexed by (pen bit, destination
    // bit): bit 2P + D of it is the result.
    const auto table = std::uint32_t(rop2 - 1) & 0xF;
    picture::Pixel result = 0;
    for (std::uint32_t p = 0; p < 2; ++p)
        for (std::uint32_t d = 0; d < 2; ++d)
            if ((table >> (2 * p + d)) & 1)
                result |= (p ? pen : ~pen) & (d ? destination : ~destination);
    return result & kColourBits;
}

picture::Pixel apply_rop3(std::uint32_t rop, picture::Pixel source, picture::Pixel destination,
                          picture::Pixel pattern) {
    // Bit 4P + 2S + D of the table is the result for those input bits.
    const std::uint32_t table = (rop >> 16) & 0xFF;
    picture::Pixel result = 0;
    for (std::uint32_t p = 0; p < 2; ++p)
        for (std::uint32_t s = 0; s < 2; ++s)
            for (std::uint32_t d = 0; d < 2; ++d)
                if ((table >> (4 * p + 2 * s + d)) & 1)
                    result |=
                        (p ? pattern : ~pattern) & (s ? source : ~source) & (d ? destination : ~destination);
    return result & kColourBits;
}

} // namespace vorn::runtime
