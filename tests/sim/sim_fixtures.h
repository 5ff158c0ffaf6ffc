// Live windows built by hand for the simulated desktop, without a program
// image, and the small helpers the sim tests share.
#pragma once

#include "runtime/core/engine/model.h"
#include "runtime/core/picture/bitmap.h"
#include "runtime/sim/geometry.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace vorn::sim::testing {

struct ControlSpec {
    std::uint32_t id = 0;
    std::uint32_t class_id = 0;
    std::string name{}; // UTF-8
    Rect place{};       // relative to the container's client area
    std::uint32_t parent = 0;
    bool visible = true;
};

inline constexpr std::uint32_t control_id(std::uint16_t sequence) {
    return forms::make_id(forms::IdKind::control, sequence);
}

// Owns the definitions that the live windows point into.
class LiveWindows {
  public:
    runtime::LiveWindow& make(std::uint32_t window_id, Rect outer, const std::vector<ControlSpec>& controls);

  private:
    std::deque<forms::Window> definitions_;
    std::vector<std::unique_ptr<runtime::LiveWindow>> windows_;
};

std::string gbk(const std::string& utf8_text);
// A picture whose every pixel differs from its neighbours: (x, y, 7).
picture::Image gradient(std::int32_t width, std::int32_t height);

} // namespace vorn::sim::testing
