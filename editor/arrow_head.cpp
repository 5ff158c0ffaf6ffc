#include "editor/arrow_head.h"

#include <bit>
#include <cmath>

namespace vorn::editor {

namespace {

// The single-precision value nearest to pi/6, widened: slightly more than
// pi/6, and the heads are drawn with exactly this.
const double kHalfAngle = double(std::bit_cast<float>(std::uint32_t{0x3F060A92}));
constexpr double kTolerance = 1e-7;
// The inverse functions' end points use these ten-decimal values.
constexpr double kHalfPiShort = 1.57079632675;
constexpr double kPiShort = 3.1415926535;
constexpr double kSideToWidth = 30.0 / 9.0;

bool near(double a, double b) {
    return std::fabs(a - b) <= kTolerance;
}

double arcsine(double v) {
    if (near(v, -1.0))
        return -kHalfPiShort;
    if (near(v, 1.0))
        return kHalfPiShort;
    return std::atan(v / std::sqrt(1.0 - v * v));
}

double arccosine(double v) {
    if (near(v, -1.0))
        return kPiShort;
    if (near(v, 1.0))
        return 0.0;
    return std::atan(-v / std::sqrt(1.0 - v * v)) + 2.0 * std::atan(1.0);
}

std::int32_t wing(double side, double direction, std::int32_t tip) {
    return std::int32_t(std::round(side * direction) + double(tip));
}

} // namespace

HeadPoints arrow_head(std::int32_t x0, std::int32_t y0, std::int32_t dx, std::int32_t dy,
                      std::int64_t line_width) {
    const double length = std::sqrt(double(dx) * dx + double(dy) * dy);
    // The unit vector from the tip back towards the start.
    double ux = 0.0, uy = 0.0;
    if (std::fabs(length) > kTolerance) {
        ux = -double(dx) / length;
        uy = -double(dy) / length;
    }
    const double side = std::trunc(double(line_width) * kSideToWidth);
    const double s = arcsine(uy);
    const double c = arccosine(ux);
    const double y1 = ux >= -kTolerance ? std::sin(s - kHalfAngle) : std::sin(s + kHalfAngle);
    const double y2 = ux >= -kTolerance ? std::sin(s + kHalfAngle) : std::sin(s - kHalfAngle);
    const double x1 = uy >= -kTolerance ? std::cos(c - kHalfAngle) : std::cos(c + kHalfAngle);
    const double x2 = uy >= -kTolerance ? std::cos(c + kHalfAngle) : std::cos(c - kHalfAngle);
    const std::int32_t tip_x = std::int32_t(std::int64_t(x0) + dx);
    const std::int32_t tip_y = std::int32_t(std::int64_t(y0) + dy);
    return {tip_x,
            tip_y,
            wing(side, x1, tip_x),
            wing(side, y1, tip_y),
            wing(side, x2, tip_x),
            wing(side, y2, tip_y)};
}

} // namespace vorn::editor
