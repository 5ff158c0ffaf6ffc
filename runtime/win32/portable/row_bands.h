// A bitmap's rows cut into bands of about a given size, for handing them to
// GDI a band at a time: GDI converts rows of another format in a buffer as
// large as what it is given, and under Wine a whole shot's worth of such a
// buffer stays with the process's heap after the call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vorn::win32 {

struct RowBand {
    std::int32_t top = 0; // the band's first row, counted from the picture's top
    std::int32_t rows = 0;
    std::size_t first_stored_row = 0; // where the band's rows begin in storage order
};

// About a megabyte: a band stays in the cache while it is read back.
inline constexpr std::size_t kRowBandBytes = std::size_t(1) << 20;

// Bands of at most `band_bytes` of 32-bit pixels each (at least one row),
// top to bottom, covering every row once. A bottom-up bitmap stores its
// lowest rows first: a band's rows then begin at its lowest row.
std::vector<RowBand> row_bands(std::int32_t width, std::int32_t height, bool top_down,
                               std::size_t band_bytes);

} // namespace vorn::win32
