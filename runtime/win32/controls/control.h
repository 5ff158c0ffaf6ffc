// The base of every window the runtime creates for the program: a top-level
// window, a control, a container. One small wrapper per Win32 class derives
// from it. The wrapper is handed to its window procedure on WM_NCCREATE, and
// from then on the procedure forwards every message to handle().
//
// A wrapper mirrors one live element of the model. It keeps pointers to the
// live window and element until the engine drops the window: then the
// desktop detaches it (the pointers become null) and keeps the object alive
// until no window procedure is running any more, because the program's
// handler that closed the window may have been called from this very
// wrapper's procedure.
#pragma once

#include "base/bytes.h"
#include "forms/properties.h"
#include "runtime/core/engine/model.h"

#include "runtime/win32/win32_api.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

namespace vorn::win32 {

class Win32Desktop;
using forms::PropertyId;

// What every wrapper is created with.
struct ControlArgs {
    Win32Desktop& desktop;
    runtime::LiveWindow& window;
    runtime::LiveElement& element;
    // The client area that holds a control (the window's or a container's);
    // a top-level window's owner.
    HWND parent = nullptr;
    // The DPI the control is shown at: its window's (0: the screen's).
    std::uint32_t dpi = 0;
};

// A window class registered by the runtime: one of its own, or a superclass
// of a system class (BUTTON, EDIT) whose procedure still does the work.
struct WindowClass {
    const wchar_t* name = nullptr;
    WNDPROC base = DefWindowProcW;
};
// Registers the class once per process; `system_class` is null for a class
// of our own, which gets the arrow cursor and no background brush.
WindowClass register_class(const wchar_t* name, const wchar_t* system_class, UINT style);
HINSTANCE runtime_module();

class Control {
  public:
    explicit Control(const ControlArgs& args);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND hwnd() const { return hwnd_; }
    std::uint32_t window_id() const { return window_id_; }
    std::uint32_t element_id() const { return element_id_; }
    // Null once the engine has dropped the window.
    runtime::LiveElement* element() const { return element_; }
    runtime::LiveWindow* window() const { return window_; }
    virtual void detach();
    // The DPI this control's geometry and font are converted by.
    std::uint32_t dpi() const { return dpi_; }
    // Its window moved to a monitor of another DPI: place and size it, and
    // set its font, again.
    virtual void dpi_changed(std::uint32_t dpi);
    // Puts the size the control really has, in units, into the model when
    // it may differ from what the program gave; false to let the model answer.
    virtual bool refresh_size(PropertyId /*property*/) { return false; }

    // The model changed; show it.
    virtual void property_changed(PropertyId property);
    // Notifications that a parent reflects to the child that sent them.
    virtual void on_command(WORD /*code*/) {}
    virtual std::optional<LRESULT> on_control_colour(HDC /*dc*/) { return std::nullopt; }
    // What a see-through control shows through itself when this control lies
    // under it: this control's background, drawn into `dc` in this control's
    // client coordinates. Only controls that paint a plain background of
    // their own (windows, labels, shape boxes, canvases, picture boxes) are
    // taken as what lies under another.
    virtual bool is_backdrop() const { return false; }
    virtual void paint_client_background(HDC dc, const RECT& area);
    virtual COLORREF background_colour() const;
    // Whether this control holds other controls (shape boxes, canvases).
    virtual bool is_container() const { return false; }

    // The one window procedure of every class the runtime registers.
    static WNDPROC procedure_for_classes();

  protected:
    // Creates the native window; false when Windows refuses.
    bool create(const WindowClass& window_class, DWORD style, DWORD ex_style, const std::wstring& text,
                const RECT& bounds, HWND parent);
    virtual LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT base(UINT message, WPARAM wparam, LPARAM lparam);
    // Controls of the runtime's own classes that draw their whole client
    // area: WM_PAINT calls paint(), and nothing erases the background first
    // (paint() covers it, without flicker).
    virtual bool paints_itself() const { return false; }
    virtual void paint() {}

    // Raises an event of this element; false when the element is gone once
    // the program's handler returned (its window was closed).
    bool raise(std::int32_t event, std::initializer_list<std::int64_t> args = {});
    bool alive() const { return element_ != nullptr && hwnd_ != nullptr; }
    std::int64_t integer(PropertyId property) const;
    std::string text(PropertyId property) const; // GBK
    // The element's geometry relative to its parent's client area, in
    // pixels at this control's DPI.
    virtual RECT bounds() const;
    void apply_geometry();
    // A font property, or the default font, at this control's DPI.
    HFONT font() const;
    void set_dpi(std::uint32_t dpi) { dpi_ = dpi; }
    // What lies under this control: the nearest visible sibling below it in
    // Z order that covers it whole and paints a background (the white label
    // under a window's controls), else the window or container holding it.
    Control* backdrop() const;
    // Paints that backdrop into this control's client area (see-through controls).
    void paint_backdrop(HDC dc);

    Win32Desktop& desktop_;
    // Our own classes hold the mouse between a left press and its release,
    // so that the release reaches the control that saw the press.
    bool captures_mouse_ = false;
    // Set while the runtime itself changes the native state, so that the
    // notifications it causes are not taken for the user's doing.
    bool mirroring_ = false;

  private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT mouse_event(std::int32_t event, UINT message, WPARAM wparam, LPARAM lparam);
    std::string trace_name() const;

    HWND hwnd_ = nullptr;
    WNDPROC base_ = DefWindowProcW;
    std::uint32_t window_id_ = 0;
    std::uint32_t element_id_ = 0;
    runtime::LiveWindow* window_ = nullptr;
    runtime::LiveElement* element_ = nullptr;
    std::uint32_t dpi_ = 0;
};

} // namespace vorn::win32
