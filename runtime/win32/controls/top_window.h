// A top-level window of the program, built from the window's own element,
// holding the wrappers of its controls and its components.
#pragma once

#include "base/result.h"
#include "runtime/win32/components/component.h"
#include "runtime/win32/controls/control.h"
#include "runtime/win32/portable/dpi_scale.h"

#include <map>
#include <memory>
#include <vector>

namespace vorn::win32 {

class TopWindow final : public Control {
  public:
    // Menu items become command ids from here on, by their index in the window.
    static constexpr UINT kMenuCommandBase = 0x100;

    // Creates the window hidden, its controls and components, then shows it
    // if the own element is visible.
    static Result<std::unique_ptr<TopWindow>> create(Win32Desktop& desktop, runtime::LiveWindow& window,
                                                     HWND owner);
    ~TopWindow() override;

    Control* control(std::uint32_t element_id) const;
    Component* component(std::uint32_t element_id) const;
    // Native windows of the controls, containers before what they hold.
    std::vector<HWND> control_windows() const;
    void detach() override;

    void property_changed(PropertyId property) override;
    // The window's place and outer size as the screen has them, in units:
    // false for a minimised window, whose place the model keeps.
    bool geometry_in_units(GeometryRect& out) const;
    bool is_backdrop() const override { return true; }
    COLORREF background_colour() const override;
    void paint_client_background(HDC dc, const RECT& area) override;

  protected:
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) override;
    // The stored outer rectangle on the screen: the place at the screen's
    // DPI, the client area at the window's, and the frame the system gives
    // a window of this style at that DPI.
    RECT bounds() const override;

  private:
    explicit TopWindow(const ControlArgs& args) : Control(args) {}
    Status build(HWND owner);
    Status create_controls(std::uint32_t container, HWND parent, int depth);
    Status create_control(runtime::LiveElement& element, HWND parent);
    std::uint32_t container_of(const runtime::LiveElement& element) const;
    runtime::LiveElement* element_ptr_of_own() const;
    void apply_stay_on_top();
    void apply_border();
    void style_of(DWORD& style, DWORD& ex_style) const;
    // The stored outer size in pixels at `dpi`: the client area scaled, and
    // the frame the system gives the window's style at that DPI.
    OuterSize outer_size_at(std::uint32_t dpi) const;
    // Lays the window and its controls out again at a new DPI; `suggested`
    // is where Windows proposes the window go, if it does.
    void move_to_dpi(std::uint32_t dpi, const RECT* suggested);

    std::vector<std::unique_ptr<Control>> controls_; // in creation order
    std::map<std::uint32_t, Control*> by_element_;
    std::map<std::uint32_t, std::unique_ptr<Component>> components_;
};

} // namespace vorn::win32
