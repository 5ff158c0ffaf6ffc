#include "runtime/win32/portable/row_bands.h"

#include <algorithm>

namespace vorn::win32 {

std::vector<RowBand> row_bands(std::int32_t width, std::int32_t height, bool top_down,
                               std::size_t band_bytes) {
    std::vector<RowBand> bands;
    if (width <= 0 || height <= 0)
        return bands;
    const std::size_t row_bytes = std::size_t(width) * 4;
    const auto band = std::int32_t(std::clamp<std::size_t>(band_bytes / row_bytes, 1, std::size_t(height)));
    for (std::int32_t top = 0; top < height; top += band) {
        const std::int32_t rows = std::min(band, height - top);
        bands.push_back({top, rows, std::size_t(top_down ? top : height - top - rows)});
    }
    return bands;
}

} // namespace vorn::win32
