#include "runtime/sim/user.h"

#include "forms/events.h"
#include "runtime/core/engine/engine.h"
#include "runtime/sim/describe.h"
#include "runtime/sim/sim_desktop.h"

#include <stdexcept>

namespace vorn::sim {

namespace event = forms::event;
using forms::PropertyId;
using runtime::LiveElement;
using runtime::LiveWindow;

namespace {

struct Target {
    LiveWindow& window;
    LiveElement& element;
};

bool overlaps(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The newest modal window still open disables every window loaded before
// it; windows it opened itself stay usable.
const LiveWindow* blocking_modal(SimDesktop& desktop, std::uint32_t window_id) {
    const std::vector<std::uint32_t> loaded = desktop.engine().loaded_windows();
    for (auto it = loaded.rbegin(); it != loaded.rend() && *it != window_id; ++it)
        if (const LiveWindow* window = desktop.engine().window(*it); window != nullptr && window->modal)
            return window;
    return nullptr;
}

Target find_target(SimDesktop& desktop, std::uint32_t window_id, std::uint32_t element_id, bool must_be_shown,
                   const char* action) {
    LiveWindow* window = desktop.engine().window(window_id);
    if (window == nullptr)
        throw std::logic_error(std::string(action) + ": window " + hex(window_id) + " is not loaded");
    LiveElement* element = window->resolve(element_id);
    if (element == nullptr)
        throw std::logic_error(std::string(action) + ": " + window->describe() + " has no element " +
                               hex(element_id));
    if (must_be_shown) {
        const std::string name = desktop.describe(*window, *element);
        if (const LiveWindow* modal = blocking_modal(desktop, window_id))
            throw std::logic_error(std::string(action) + ": " + name + " waits behind the modal window " +
                                   desktop.windows().window_label(modal->id));
        if (!element_shown(*window, *element))
            throw std::logic_error(std::string(action) + ": " + name + " is not shown");
        if (element != &window->own() &&
            !overlaps(element_rect(*window, *element), element_rect(*window, window->own())))
            throw std::logic_error(std::string(action) + ": " + name + " lies outside its window");
    }
    return {*window, *element};
}

std::string point_text(std::int64_t x, std::int64_t y) {
    return std::to_string(x) + "," + std::to_string(y);
}

} // namespace

void SimUser::deliver_posted() {
    for (const SimDesktop::DeviceReport& report : desktop_.take_device_reports())
        if (desktop_.engine().is_loaded(report.window)) {
            desktop_.trace().add("device report " + hex(std::uint64_t(report.code)));
            desktop_.engine().raise_event(report.window, report.device, event::kKeyInput, {report.code});
        }
    // A chosen item's handler may open another menu; deliver until none is left.
    for (auto posted = desktop_.take_posted(); !posted.empty(); posted = desktop_.take_posted())
        for (const auto& [window, item] : posted) {
            desktop_.trace().add("menu choice " + desktop_.windows().window_label(window) + " " + hex(item));
            desktop_.engine().raise_menu_click(window, item);
        }
}

void SimUser::report_own_button(std::int64_t code, bool at_once) {
    const auto device = desktop_.watching_device();
    if (!device)
        return;
    desktop_.post_device_report({device->first, device->second, code});
    if (at_once)
        deliver_posted();
}

void SimUser::click(std::uint32_t window, std::uint32_t element) {
    deliver_posted();
    Target target = find_target(desktop_, window, element, true, "click");
    desktop_.trace().add("user click " + desktop_.describe(target.window, target.element));
    if (target.element.class_id == forms::class_id::check_box)
        desktop_.engine().update_from_user(window, target.element.id, PropertyId::checked,
                                           std::int64_t(target.element.integer(PropertyId::checked) == 0));
    // The press was reported before the button's release raised the click.
    report_own_button(event::kLeftButtonCode, true);
    report_own_button(event::kLeftButtonCode, false);
    desktop_.engine().raise_event(window, target.element.id, event::kClicked);
    deliver_posted();
}

void SimUser::choose_menu(std::uint32_t window, std::uint32_t item) {
    deliver_posted();
    Target target = find_target(desktop_, window, item, false, "choose menu");
    desktop_.trace().add("user menu " + desktop_.windows().window_label(window) + " " +
                         in_quotes(target.element.text(PropertyId::text)));
    desktop_.engine().raise_menu_click(window, item);
    deliver_posted();
}

void SimUser::mouse(const char* action, std::int32_t number, std::uint32_t window, std::uint32_t element,
                    std::int32_t x, std::int32_t y, std::int32_t keys) {
    deliver_posted();
    Target target = find_target(desktop_, window, element, true, action);
    const Rect where = element_rect(target.window, target.element);
    desktop_.windows().set_pointer({where.left + x, where.top + y});
    desktop_.trace().add(std::string("user ") + action + " " +
                         desktop_.describe(target.window, target.element) + " " + point_text(x, y) +
                         (keys != 0 ? " keys " + std::to_string(keys) : ""));
    const bool left =
        number == event::kLeftButtonDown || number == event::kLeftButtonUp || number == event::kDoubleClicked;
    if (left || number == event::kRightButtonDown)
        report_own_button(left ? event::kLeftButtonCode : event::kRightButtonCode, false);
    desktop_.engine().raise_event(window, target.element.id, number, {x, y, keys});
    deliver_posted();
}

void SimUser::press(std::uint32_t window, std::uint32_t element, std::int32_t x, std::int32_t y,
                    std::int32_t keys) {
    mouse("press", event::kLeftButtonDown, window, element, x, y, keys);
}

void SimUser::release(std::uint32_t window, std::uint32_t element, std::int32_t x, std::int32_t y,
                      std::int32_t keys) {
    mouse("release", event::kLeftButtonUp, window, element, x, y, keys);
}

void SimUser::move(std::uint32_t window, std::uint32_t element, std::int32_t x, std::int32_t y,
                   std::int32_t keys) {
    mouse("move", event::kMouseMoved, window, element, x, y, keys);
}

void SimUser::double_click(std::uint32_t window, std::uint32_t element, std::int32_t x, std::int32_t y,
                           std::int32_t keys) {
    mouse("double-click", event::kDoubleClicked, window, element, x, y, keys);
}

void SimUser::right_press(std::uint32_t window, std::uint32_t element, std::int32_t x, std::int32_t y,
                          std::int32_t keys) {
    mouse("right-press", event::kRightButtonDown, window, element, x, y, keys);
}

void SimUser::key(std::uint32_t window, std::uint32_t element, std::int32_t code, std::int32_t keys) {
    deliver_posted();
    Target target = find_target(desktop_, window, element, true, "key");
    desktop_.trace().add("user key " + desktop_.describe(target.window, target.element) + " " +
                         std::to_string(code) + (keys != 0 ? " keys " + std::to_string(keys) : ""));
    desktop_.engine().raise_event(window, target.element.id, event::kKeyDown, {code, keys});
    deliver_posted();
}

void SimUser::type(std::uint32_t window, std::uint32_t element, const std::string& utf8_text) {
    deliver_posted();
    Target target = find_target(desktop_, window, element, true, "type");
    desktop_.trace().add("user type " + desktop_.describe(target.window, target.element) + " \"" + utf8_text +
                         "\"");
    desktop_.engine().update_from_user(window, target.element.id, PropertyId::text, gbk(utf8_text));
    desktop_.engine().raise_event(window, target.element.id, event::kContentChanged);
    deliver_posted();
}

void SimUser::choose_colour(std::uint32_t window, std::uint32_t picker, std::uint32_t colour) {
    deliver_posted();
    Target target = find_target(desktop_, window, picker, true, "choose colour");
    desktop_.trace().add("user colour " + desktop_.describe(target.window, target.element) + " " +
                         show_value(PropertyId::colour, std::int64_t(colour)));
    desktop_.engine().update_from_user(window, target.element.id, PropertyId::colour, std::int64_t(colour));
    desktop_.engine().raise_event(window, target.element.id, event::kColourChosen);
    deliver_posted();
}

void SimUser::choose_font(std::uint32_t window, std::uint32_t picker, const forms::Font& font) {
    deliver_posted();
    Target target = find_target(desktop_, window, picker, true, "choose font");
    desktop_.trace().add("user font " + desktop_.describe(target.window, target.element) + " " +
                         show_value(PropertyId::font, font));
    desktop_.engine().update_from_user(window, target.element.id, PropertyId::font, font);
    desktop_.engine().raise_event(window, target.element.id, event::kFontChosen);
    deliver_posted();
}

void SimUser::device_move(std::uint32_t window, std::uint32_t device, runtime::Point to) {
    deliver_posted();
    Target target = find_target(desktop_, window, device, false, "device move");
    desktop_.windows().set_pointer(to);
    desktop_.trace().add("user device move " + point_text(to.x, to.y));
    desktop_.engine().raise_event(window, target.element.id, event::kMouseInput, {to.x, to.y});
    deliver_posted();
}

void SimUser::device_button(std::uint32_t window, std::uint32_t device, std::int64_t code) {
    deliver_posted();
    Target target = find_target(desktop_, window, device, false, "device button");
    desktop_.trace().add("user device button " + hex(std::uint64_t(code)));
    desktop_.engine().raise_event(window, target.element.id, event::kKeyInput, {code});
    deliver_posted();
}

void SimUser::close(std::uint32_t window) {
    deliver_posted();
    find_target(desktop_, window, window, true, "close");
    desktop_.trace().add("user close " + desktop_.windows().window_label(window));
    desktop_.engine().close_window(window);
    deliver_posted();
}

bool SimUser::raise(std::uint32_t window, std::uint32_t element, std::int32_t number,
                    std::initializer_list<std::int64_t> args) {
    deliver_posted();
    desktop_.trace().add("user event " + desktop_.windows().window_label(window) + " " + hex(element) + " " +
                         std::to_string(number));
    const bool handled = desktop_.engine().raise_event(window, element, number, args);
    deliver_posted();
    return handled;
}

} // namespace vorn::sim
