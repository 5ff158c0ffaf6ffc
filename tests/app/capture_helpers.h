// What the capture tests share: a screen to photograph, settings to write,
// and what the picture box shows.
#pragma once

#include "base/bytes.h"
#include "forms/ids.h"
#include "runtime/core/picture/bitmap.h"
#include "runtime/sim/sim_desktop.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vorn::testing {

// A screen whose every pixel differs from its neighbours.
picture::Image test_screen(std::int32_t width, std::int32_t height, std::uint8_t blue = 7);

struct Setting {
    const char* section;
    const char* key;
    std::string value; // UTF-8; written as GBK
};
void write_settings(sim::SimDesktop& d, const std::vector<Setting>& settings);
Setting hide(std::string value);
Setting sound(std::string value);

// 设置.ini's value under the section and key (UTF-8), nullopt when absent.
std::optional<std::string> read_setting(sim::SimDesktop& d, const std::string& section,
                                        const std::string& key);
Bytes read_host_file(const std::filesystem::path& path);

runtime::LiveElement& element(sim::SimDesktop& d, forms::ElementRef ref);
// The main window's picture box's picture, decoded; nullopt when empty.
std::optional<picture::Image> shown_picture(sim::SimDesktop& d);

} // namespace vorn::testing
