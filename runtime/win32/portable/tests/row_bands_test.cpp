#include "runtime/win32/portable/row_bands.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorn::win32 {
namespace {

// Every picture row lies in exactly one band, and the band's storage start
// puts it at the stored row the bitmap's order gives it.
void expect_every_row_once(std::int32_t width, std::int32_t height, bool top_down, std::size_t band_bytes) {
    SCOPED_TRACE(testing::Message() << width << "x" << height << (top_down ? " top-down" : " bottom-up")
                                    << ", bands of " << band_bytes << " bytes");
    std::vector<int> seen(std::size_t(height), 0);
    std::int32_t next_top = 0;
    for (const RowBand& band : row_bands(width, height, top_down, band_bytes)) {
        EXPECT_EQ(band.top, next_top);
        ASSERT_GT(band.rows, 0);
        EXPECT_LE(std::size_t(band.rows) * std::size_t(width) * 4,
                  std::max<std::size_t>(band_bytes, width * 4u));
        for (std::int32_t row = 0; row < band.rows; ++row) {
            const std::int32_t y = band.top + row;
            ASSERT_LT(y, height);
            ++seen[std::size_t(y)];
            // GDI reads a band as a bitmap of its own: top-down from its top,
            // bottom-up from its lowest row.
            const std::size_t stored =
                band.first_stored_row + std::size_t(top_down ? row : band.rows - 1 - row);
            EXPECT_EQ(stored, std::size_t(top_down ? y : height - 1 - y)) << "row " << y;
        }
        next_top = band.top + band.rows;
    }
    EXPECT_EQ(next_top, height);
    for (std::size_t y = 0; y < seen.size(); ++y)
        EXPECT_EQ(seen[y], 1) << "row " << y;
}

TEST(RowBands, CoverEveryRowOnceInEitherOrder) {
    for (bool top_down : {false, true}) {
        expect_every_row_once(10, 10, top_down, 4 * 10 * 4); // four rows a band, a short last band
        expect_every_row_once(10, 12, top_down, 4 * 10 * 4); // bands that come out even
        expect_every_row_once(3840, 2160, top_down, 1 << 20);
        expect_every_row_once(1, 1, top_down, 1 << 20);
        expect_every_row_once(100, 7, top_down, 1 << 30); // one band for the whole picture
    }
}

TEST(RowBands, TakeOneRowWhenARowIsLargerThanABand) {
    const std::vector<RowBand> bands = row_bands(100000, 3, false, 1024);
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(bands[0].rows, 1);
    EXPECT_EQ(bands[0].first_stored_row, 2u);
    expect_every_row_once(100000, 3, true, 1024);
}

TEST(RowBands, NoneForAnEmptyPicture) {
    EXPECT_TRUE(row_bands(0, 10, false, 1 << 20).empty());
    EXPECT_TRUE(row_bands(10, 0, true, 1 << 20).empty());
    EXPECT_TRUE(row_bands(-5, 10, false, 1 << 20).empty());
}

} // namespace
} // namespace vorn::win32
