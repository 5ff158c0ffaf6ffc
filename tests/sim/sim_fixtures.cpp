#include "tests/sim/sim_fixtures.h"

#include "text/gbk.h"

#include <gtest/gtest.h>

namespace vorn::sim::testing {

namespace {

forms::Element element(std::uint32_t id, std::uint32_t class_id, const std::string& name, Rect place,
                       std::uint32_t parent, bool visible) {
    forms::Element e;
    e.id = id;
    e.class_id = class_id;
    e.name = gbk(name);
    forms::ControlRecord record;
    record.left = place.left;
    record.top = place.top;
    record.width = place.width();
    record.height = place.height();
    record.parent = parent;
    record.flags = visible ? forms::element_flag::visible : 0;
    e.record = std::move(record);
    return e;
}

} // namespace

runtime::LiveWindow& LiveWindows::make(std::uint32_t window_id, Rect outer,
                                       const std::vector<ControlSpec>& controls) {
    forms::Window& definition = definitions_.emplace_back();
    definition.id = window_id;
    const auto own_id = forms::make_id(forms::IdKind::own_element, std::uint16_t(window_id + 0x100));
    definition.elements.push_back(element(own_id, forms::class_id::window, "", outer, 0, true));
    for (const ControlSpec& c : controls)
        definition.elements.push_back(element(c.id, c.class_id, c.name, c.place, c.parent, c.visible));
    auto live = runtime::create_live_window(definition);
    EXPECT_TRUE(live.ok()) << (live.ok() ? "" : live.error().message);
    windows_.push_back(std::move(live.value()));
    return *windows_.back();
}

std::string gbk(const std::string& utf8_text) {
    return text::utf8_to_gbk(utf8_text);
}

picture::Image gradient(std::int32_t width, std::int32_t height) {
    picture::Image image(width, height);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            image.at(x, y) = picture::rgb(std::uint8_t(x), std::uint8_t(y), 7);
    return image;
}

} // namespace vorn::sim::testing
