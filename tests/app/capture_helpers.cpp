#include "tests/app/capture_helpers.h"

#include "forms/layouts/elements.h"
#include "runtime/core/engine/engine.h"
#include "runtime/core/picture/decode.h"
#include "runtime/core/settings/settings_file.h"
#include "text/gbk.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vorn::testing {

using forms::PropertyId;
namespace main = vorn::ui::主窗口;

picture::Image test_screen(std::int32_t width, std::int32_t height, std::uint8_t blue) {
    picture::Image image(width, height);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            image.at(x, y) = picture::rgb(std::uint8_t(x * 3), std::uint8_t(y * 5), blue);
    return image;
}

void write_settings(sim::SimDesktop& d, const std::vector<Setting>& settings) {
    const auto file = d.files().map(d.files().run_directory() + text::utf8_to_gbk("\\设置.ini"));
    for (const Setting& s : settings)
        ASSERT_TRUE(settings::write_value(file, text::utf8_to_gbk(s.section), text::utf8_to_gbk(s.key),
                                          text::utf8_to_gbk(s.value))
                        .ok());
}

std::optional<std::string> read_setting(sim::SimDesktop& d, const std::string& section,
                                        const std::string& key) {
    const auto file = d.files().map(d.files().run_directory() + text::utf8_to_gbk("\\设置.ini"));
    const std::string absent = "(absent)";
    const std::string value =
        settings::read_value(file, text::utf8_to_gbk(section), text::utf8_to_gbk(key), absent);
    if (value == absent)
        return std::nullopt;
    return text::gbk_to_utf8(value);
}

Bytes read_host_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Setting hide(std::string value) {
    return {"截图时隐藏", "是否隐藏本窗口", std::move(value)};
}
Setting sound(std::string value) {
    return {"截图时声音", "是否播放", std::move(value)};
}

runtime::LiveElement& element(sim::SimDesktop& d, forms::ElementRef ref) {
    runtime::LiveWindow* window = d.engine().window(ref.window);
    if (window == nullptr)
        throw std::logic_error("window not loaded");
    return ref.element == 0 ? window->own() : *window->find(ref.element);
}

std::optional<picture::Image> shown_picture(sim::SimDesktop& d) {
    const ByteView bytes = runtime::bytes_view(element(d, main::截图效果图片框).get(PropertyId::picture));
    if (bytes.empty())
        return std::nullopt;
    Result<picture::Image> image = picture::decode_picture(bytes);
    return image ? std::optional(*image) : std::nullopt;
}

} // namespace vorn::testing
