#include "runtime/win32/controls/top_window.h"

#include "forms/ids.h"
#include "runtime/core/engine/engine.h"
#include "runtime/win32/controls/factory.h"
#include "runtime/win32/dpi.h"
#include "runtime/win32/gdi.h"
#include "runtime/win32/text.h"
#include "runtime/win32/win32_desktop.h"

#include <algorithm>

namespace vorn::win32 {

namespace {

constexpr std::int64_t kNoBorder = 0;
// Containers nest a few levels deep at most; parent fields that form a
// cycle must not recurse for ever.
constexpr int kMaxNesting = 16;

DWORD style_for_border(std::int64_t border) {
    // Style 2 is the fixed frame with a caption; every other stored value
    // but 0 is taken as that frame too, since a window needs one of the two.
    return border == kNoBorder ? WS_POPUP : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
}

const WindowClass& window_class() {
    static const WindowClass registered = register_class(L"VornWindow", nullptr, CS_DBLCLKS);
    return registered;
}

} // namespace

Result<std::unique_ptr<TopWindow>> TopWindow::create(Win32Desktop& desktop, runtime::LiveWindow& window,
                                                     HWND owner) {
    std::unique_ptr<TopWindow> top(
        new TopWindow(ControlArgs{desktop, window, window.own(), owner, screen_dpi()}));
    VORN_TRY_STATUS(top->build(owner));
    return top;
}

TopWindow::~TopWindow() {
    // Controls go before their window; Windows destroys the children of a
    // window with it, so the wrappers only let go of handles already gone.
    components_.clear();
    controls_.clear();
}

void TopWindow::style_of(DWORD& style, DWORD& ex_style) const {
    if (hwnd() != nullptr) {
        style = DWORD(GetWindowLongPtrW(hwnd(), GWL_STYLE));
        ex_style = DWORD(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE));
        return;
    }
    style = style_for_border(integer(PropertyId::border_style)) | WS_CLIPCHILDREN;
    ex_style = integer(PropertyId::stay_on_top) != 0 ? WS_EX_TOPMOST : 0;
}

OuterSize TopWindow::outer_size_at(std::uint32_t dpi) const {
    DWORD style = 0, ex_style = 0;
    style_of(style, ex_style);
    return outer_to_pixels(
        {std::int32_t(integer(PropertyId::width)), std::int32_t(integer(PropertyId::height))},
        frame_size(style, ex_style, kUnitDpi), frame_size(style, ex_style, dpi), dpi);
}

RECT TopWindow::bounds() const {
    const std::uint32_t screen = screen_dpi();
    const OuterSize outer = outer_size_at(dpi());
    const std::int32_t left = to_pixels(integer(PropertyId::left), screen);
    const std::int32_t top = to_pixels(integer(PropertyId::top), screen);
    return {left, top, left + std::max(outer.width, 0), top + std::max(outer.height, 0)};
}

bool TopWindow::geometry_in_units(GeometryRect& out) const {
    RECT outer{};
    if (hwnd() == nullptr || IsIconic(hwnd()) || !GetWindowRect(hwnd(), &outer))
        return false;
    DWORD style = 0, ex_style = 0;
    style_of(style, ex_style);
    const std::uint32_t screen = screen_dpi();
    const OuterSize size =
        outer_to_units({outer.right - outer.left, outer.bottom - outer.top},
                       frame_size(style, ex_style, kUnitDpi), frame_size(style, ex_style, dpi()), dpi());
    out = {to_units(outer.left, screen), to_units(outer.top, screen), size.width, size.height};
    return true;
}

void TopWindow::move_to_dpi(std::uint32_t dpi, const RECT* suggested) {
    set_dpi(dpi);
    if (suggested != nullptr)
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    else
        apply_geometry();
    for (const auto& control : controls_)
        control->dpi_changed(dpi);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

Status TopWindow::build(HWND owner) {
    const runtime::LiveElement& own = *element();
    DWORD style = 0, ex_style = 0;
    style_of(style, ex_style);
    // The own element's geometry is the outer rectangle on the screen.
    if (!Control::create(window_class(), style, ex_style, wide(own.text(PropertyId::text)), bounds(), owner))
        return Error{"window " + hex(window_id()) + ": CreateWindowEx failed (" +
                     std::to_string(GetLastError()) + ")"};
    // Placed by the screen's DPI, it may have landed on a monitor of another.
    if (const std::uint32_t here = window_dpi(hwnd()); here != dpi()) {
        set_dpi(here);
        apply_geometry();
    }
    for (runtime::LiveElement& element : window()->elements) {
        if (&element == element_ptr_of_own() || element.is_menu_item() || element.info == nullptr ||
            element.info->has_window)
            continue;
        if (std::unique_ptr<Component> made = make_component(desktop_, *window(), element))
            components_[element.id] = std::move(made);
    }
    VORN_TRY_STATUS(create_controls(0, hwnd(), 0));
    // Controls left over sit in a container that is none, or in a cycle of
    // containers: they go on the window itself.
    for (runtime::LiveElement& element : window()->elements)
        if (&element != element_ptr_of_own() && !element.is_menu_item() && element.info != nullptr &&
            element.info->has_window && by_element_.count(element.id) == 0)
            VORN_TRY_STATUS(create_control(element, hwnd()));
    return ok_status();
}

runtime::LiveElement* TopWindow::element_ptr_of_own() const {
    return window() != nullptr ? &window()->own() : nullptr;
}

std::uint32_t TopWindow::container_of(const runtime::LiveElement& element) const {
    const std::uint32_t parent = element.parent();
    if (parent == 0 || parent == element.id)
        return 0;
    const runtime::LiveElement* holder = window()->find(parent);
    return holder != nullptr && is_container_class(holder->class_id) ? parent : 0;
}

Status TopWindow::create_control(runtime::LiveElement& element, HWND parent) {
    std::unique_ptr<Control> made = make_control(ControlArgs{desktop_, *window(), element, parent, dpi()});
    if (made == nullptr)
        return Error{"window " + hex(window_id()) + ", element " + hex(element.id) +
                     ": creating its control failed (" + std::to_string(GetLastError()) + ")"};
    by_element_[element.id] = made.get();
    controls_.push_back(std::move(made));
    return ok_status();
}

Status TopWindow::create_controls(std::uint32_t container, HWND parent, int depth) {
    if (depth >= kMaxNesting)
        return ok_status();
    // Siblings are created in stored order: the first stored lies on top,
    // as Windows stacks every new child below the ones before it.
    std::vector<Control*> made;
    for (runtime::LiveElement& element : window()->elements) {
        if (&element == element_ptr_of_own() || element.is_menu_item() || element.info == nullptr ||
            !element.info->has_window || container_of(element) != container || by_element_.count(element.id))
            continue;
        VORN_TRY_STATUS(create_control(element, parent));
        made.push_back(controls_.back().get());
    }
    for (Control* holder : made)
        if (holder->is_container())
            VORN_TRY_STATUS(create_controls(holder->element_id(), holder->hwnd(), depth + 1));
    return ok_status();
}

Control* TopWindow::control(std::uint32_t element_id) const {
    auto it = by_element_.find(element_id);
    return it == by_element_.end() ? nullptr : it->second;
}

Component* TopWindow::component(std::uint32_t element_id) const {
    auto it = components_.find(element_id);
    return it == components_.end() ? nullptr : it->second.get();
}

std::vector<HWND> TopWindow::control_windows() const {
    std::vector<HWND> handles;
    for (const auto& control : controls_)
        if (control->hwnd() != nullptr)
            handles.push_back(control->hwnd());
    return handles;
}

void TopWindow::detach() {
    for (auto& [id, component] : components_)
        component->detach();
    for (auto& control : controls_)
        control->detach();
    Control::detach();
}

void TopWindow::apply_stay_on_top() {
    SetWindowPos(hwnd(), integer(PropertyId::stay_on_top) != 0 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TopWindow::apply_border() {
    const LONG_PTR keep = GetWindowLongPtrW(hwnd(), GWL_STYLE) &
                          ~LONG_PTR(WS_POPUP | WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    SetWindowLongPtrW(hwnd(), GWL_STYLE, keep | style_for_border(integer(PropertyId::border_style)));
    // The outer rectangle stays where the model has it; the client area changes.
    apply_geometry();
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TopWindow::property_changed(PropertyId property) {
    if (hwnd() == nullptr || element() == nullptr)
        return;
    switch (property) {
    case PropertyId::visible:
        // Showing a window activates it, as a window the program opens
        // should be the one the user works in.
        ShowWindow(hwnd(), integer(PropertyId::visible) != 0 ? SW_SHOW : SW_HIDE);
        break;
    case PropertyId::stay_on_top:
        apply_stay_on_top();
        break;
    case PropertyId::border_style:
        apply_border();
        break;
    case PropertyId::back_colour:
        // See-through children paint this colour too.
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        break;
    case PropertyId::taskbar_button: {
        // Taken by Windows when the window is next shown: the editor sets it
        // before it is first shown, while the main window is hidden.
        const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
        SetWindowLongPtrW(hwnd(), GWL_EXSTYLE,
                          integer(PropertyId::taskbar_button) != 0 ? style | WS_EX_APPWINDOW
                                                                   : style & ~LONG_PTR(WS_EX_APPWINDOW));
        break;
    }
    case PropertyId::window_mode:
    case PropertyId::window_class_name:
    case PropertyId::cursor:
        break; // nothing on screen depends on them
    default:
        Control::property_changed(property);
        break;
    }
}

COLORREF TopWindow::background_colour() const {
    return colour_or_system(integer(PropertyId::back_colour), COLOR_BTNFACE);
}

void TopWindow::paint_client_background(HDC dc, const RECT& area) {
    FillRect(dc, &area, brush_for(background_colour()));
}

LRESULT TopWindow::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    if (element() == nullptr)
        return base(message, wparam, lparam);
    switch (message) {
    case WM_CLOSE:
        // The engine raises the being-destroyed event and then asks for the
        // window to go (destroy_window); the program may also end meanwhile.
        desktop_.engine().close_window(window_id());
        return 0;
    case WM_COMMAND:
        if (lparam == 0 && HIWORD(wparam) == 0 && LOWORD(wparam) >= kMenuCommandBase) {
            const std::size_t index = LOWORD(wparam) - kMenuCommandBase;
            if (index < window()->elements.size() && window()->elements[index].is_menu_item())
                desktop_.engine().raise_menu_click(window_id(), window()->elements[index].id);
            return 0;
        }
        break;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd(), &client);
        paint_client_background(reinterpret_cast<HDC>(wparam), client);
        return 1;
    }
    case WM_GETDPISCALEDSIZE: {
        // Asked before a move to a monitor of another DPI: the client area
        // scales and the frame is the one at that DPI, rather than the
        // whole outer size scaled.
        const OuterSize outer = outer_size_at(std::uint32_t(wparam));
        auto* size = reinterpret_cast<SIZE*>(lparam);
        size->cx = outer.width;
        size->cy = outer.height;
        return TRUE;
    }
    case WM_DPICHANGED:
        move_to_dpi(LOWORD(wparam), reinterpret_cast<const RECT*>(lparam));
        return 0;
    default:
        break;
    }
    return Control::handle(message, wparam, lparam);
}

} // namespace vorn::win32
