// The test acting as the user: clicks, menu choices, mouse and keys on a
// control, typing, the colour and font pickers, the input device's reports
// and closing a window. Each action goes through the engine as the real
// backend's message handling would, and refuses (std::logic_error) what a
// person could not do: acting on a window that is not loaded; clicking,
// typing into, pointing at or closing something hidden or lying outside its
// window; or reaching a window that waits behind a modal one. The input
// device watches the whole screen and is exempt. A menu item chosen in a
// popup menu is delivered after the action that opened the menu, as Windows
// posts it.
#pragma once

#include "forms/font.h"
#include "runtime/core/engine/desktop.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace vorn::sim {

class SimDesktop;

class SimUser {
  public:
    explicit SimUser(SimDesktop& desktop) : desktop_(desktop) {}

    // A button is clicked; a check box toggles its state first.
    void click(std::uint32_t window, std::uint32_t element);
    void choose_menu(std::uint32_t window, std::uint32_t item);

    // Mouse and keys, at (x, y) in the control's pixels. The pointer moves
    // there on the screen as well.
    void press(std::uint32_t window, std::uint32_t element, std::int32_t x, std::int32_t y,
               std::int32_t keys = 0);
    void release(std::uint32_t window, std::uint32_t element, std::int32_t x, std::int32_t y,
                 std::int32_t keys = 0);
    void move(std::uint32_t window, std::uint32_t element, std::int32_t x, std::int32_t y,
              std::int32_t keys = 0);
    void double_click(std::uint32_t window, std::uint32_t element, std::int32_t x, std::int32_t y,
                      std::int32_t keys = 0);
    void right_press(std::uint32_t window, std::uint32_t element, std::int32_t x, std::int32_t y,
                     std::int32_t keys = 0);
    void key(std::uint32_t window, std::uint32_t element, std::int32_t code, std::int32_t keys = 0);

    // The edit box's content becomes `utf8_text`, then it reports the change.
    void type(std::uint32_t window, std::uint32_t element, const std::string& utf8_text);
    void choose_colour(std::uint32_t window, std::uint32_t picker, std::uint32_t colour);
    void choose_font(std::uint32_t window, std::uint32_t picker, const forms::Font& font);

    // The input device watches the whole screen, shown or not: the pointer
    // moves to `to` (screen pixels) and the device reports it.
    void device_move(std::uint32_t window, std::uint32_t device, runtime::Point to);
    void device_button(std::uint32_t window, std::uint32_t device, std::int64_t code);

    // The user closes the window (its close box).
    void close(std::uint32_t window);

    // Any event, with no checks; whether a handler ran.
    bool raise(std::uint32_t window, std::uint32_t element, std::int32_t event,
               std::initializer_list<std::int64_t> args = {});

    // What was posted and waits in the queue: the input device's reports of
    // clicks on our windows, then menu choices. Every action delivers it
    // first and last; a modal loop delivers it as it begins.
    void deliver_posted();

  private:
    void mouse(const char* action, std::int32_t event, std::uint32_t window, std::uint32_t element,
               std::int32_t x, std::int32_t y, std::int32_t keys);
    // The enabled input device's report of a button on our own windows.
    void report_own_button(std::int64_t code, bool at_once);

    SimDesktop& desktop_;
};

} // namespace vorn::sim
