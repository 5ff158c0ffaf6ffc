#include "runtime/win32/controls/control.h"

#include "forms/events.h"
#include "runtime/core/engine/engine.h"
#include "runtime/win32/dpi.h"
#include "runtime/win32/gdi.h"
#include "runtime/win32/portable/conventions.h"
#include "runtime/win32/resource_counts.h"
#include "runtime/win32/text.h"
#include "runtime/win32/trace.h"
#include "runtime/win32/win32_desktop.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace vorn::win32 {

namespace {

struct RegisteredClass {
    ATOM atom;
    WindowClass window_class;
};

std::vector<RegisteredClass>& registered() {
    static std::vector<RegisteredClass> classes;
    return classes;
}

// Before WM_NCCREATE and after WM_NCDESTROY a window has no wrapper; its
// messages go to its class's own procedure.
WNDPROC class_procedure(HWND hwnd) {
    const ATOM atom = ATOM(GetClassWord(hwnd, GCW_ATOM));
    for (const RegisteredClass& entry : registered())
        if (entry.atom == atom)
            return entry.window_class.base;
    return DefWindowProcW;
}

std::int64_t current_modifiers() {
    return modifier_keys(GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0);
}

} // namespace

HINSTANCE runtime_module() {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

WindowClass register_class(const wchar_t* name, const wchar_t* system_class, UINT style) {
    for (const RegisteredClass& entry : registered())
        if (std::wstring_view(entry.window_class.name) == name)
            return entry.window_class;
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    WindowClass result{name, DefWindowProcW};
    if (system_class != nullptr) {
        // A superclass: the system class's procedure, extra bytes and cursor,
        // with our procedure in front.
        GetClassInfoExW(nullptr, system_class, &description);
        result.base = description.lpfnWndProc;
        description.style &= ~UINT(CS_GLOBALCLASS);
    } else {
        description.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    }
    description.cbSize = sizeof description;
    description.style |= style;
    description.lpfnWndProc = Control::procedure_for_classes();
    description.hInstance = runtime_module();
    description.lpszClassName = name;
    const ATOM atom = RegisterClassExW(&description);
    registered().push_back({atom, result});
    return result;
}

Control::Control(const ControlArgs& args)
    : desktop_(args.desktop), window_id_(args.window.id), element_id_(args.element.id), window_(&args.window),
      element_(&args.element), dpi_(args.dpi != 0 ? args.dpi : screen_dpi()) {}

Control::~Control() {
    if (hwnd_ != nullptr) {
        // Only reached for a window that Windows still has, when creating
        // its siblings failed: take it down without a wrapper.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        desktop_.forget(hwnd_);
        DestroyWindow(hwnd_);
    }
}

void Control::detach() {
    element_ = nullptr;
    window_ = nullptr;
}

WNDPROC Control::procedure_for_classes() {
    return &Control::procedure;
}

bool Control::create(const WindowClass& window_class, DWORD style, DWORD ex_style, const std::wstring& text,
                     const RECT& bounds, HWND parent) {
    base_ = window_class.base;
    CreateWindowExW(ex_style, window_class.name, text.c_str(), style, bounds.left, bounds.top,
                    std::max<LONG>(bounds.right - bounds.left, 0),
                    std::max<LONG>(bounds.bottom - bounds.top, 0), parent, nullptr, runtime_module(), this);
    return hwnd_ != nullptr;
}

LRESULT CALLBACK Control::procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    Control* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Control*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->desktop_.adopt(hwnd, self);
    } else {
        self = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr)
        return CallWindowProcW(class_procedure(hwnd), hwnd, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        const LRESULT result = CallWindowProcW(self->base_, hwnd, message, wparam, lparam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->desktop_.forget(hwnd);
        self->hwnd_ = nullptr;
        return result;
    }
    if (message == resource_counts_message() && message != 0)
        return count_resource(wparam);
    Win32Desktop& desktop = self->desktop_;
    if (tracing())
        trace_message(self->trace_name(), message, wparam, lparam);
    // The handler may close this window and so detach `self`; the desktop
    // frees detached wrappers only once no procedure is running.
    desktop.enter_procedure();
    const LRESULT result = self->handle(message, wparam, lparam);
    desktop.leave_procedure();
    return result;
}

std::string Control::trace_name() const {
    if (element_ == nullptr)
        return hex(window_id_) + "/" + hex(element_id_) + " (closed)";
    const std::string& name = element_->name();
    return hex(window_id_) + "/" + (name.empty() ? hex(element_id_) : utf8_from_gbk(name));
}

LRESULT Control::base(UINT message, WPARAM wparam, LPARAM lparam) {
    if (hwnd_ == nullptr)
        return 0;
    return CallWindowProcW(base_, hwnd_, message, wparam, lparam);
}

bool Control::raise(std::int32_t event, std::initializer_list<std::int64_t> args) {
    if (!alive())
        return false;
    desktop_.engine().raise_event(window_id_, element_id_, event, args);
    return alive();
}

LRESULT Control::mouse_event(std::int32_t event, UINT message, WPARAM wparam, LPARAM lparam) {
    // Mouse positions are in this control's client area, in units; the
    // modifier keys come with the message, except alt, which has no MK_ flag.
    const std::int64_t keys =
        modifier_keys((wparam & MK_SHIFT) != 0, (wparam & MK_CONTROL) != 0, GetKeyState(VK_MENU) < 0);
    if (!raise(event, {to_units(GET_X_LPARAM(lparam), dpi_), to_units(GET_Y_LPARAM(lparam), dpi_), keys}))
        return 0;
    return base(message, wparam, lparam);
}

LRESULT Control::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    if (element_ == nullptr)
        return base(message, wparam, lparam);
    switch (message) {
    case WM_PAINT:
        if (paints_itself()) {
            paint();
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        if (paints_itself())
            return 1;
        break;
    case WM_COMMAND:
        if (lparam != 0)
            if (Control* child = desktop_.control_of(reinterpret_cast<HWND>(lparam))) {
                child->on_command(HIWORD(wparam));
                return 0;
            }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        if (Control* child = desktop_.control_of(reinterpret_cast<HWND>(lparam)))
            if (std::optional<LRESULT> result = child->on_control_colour(reinterpret_cast<HDC>(wparam)))
                return *result;
        break;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wparam) == hwnd_ && LOWORD(lparam) == HTCLIENT) {
            if (const auto cursor = std::uint32_t(integer(PropertyId::cursor)); cursor != 0) {
                SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(cursor)));
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONDOWN:
        if (captures_mouse_)
            SetCapture(hwnd_);
        return mouse_event(forms::event::kLeftButtonDown, message, wparam, lparam);
    case WM_LBUTTONUP:
        if (captures_mouse_ && GetCapture() == hwnd_)
            ReleaseCapture();
        return mouse_event(forms::event::kLeftButtonUp, message, wparam, lparam);
    case WM_LBUTTONDBLCLK:
        // With double-clicks on, the second press of a pair arrives as this
        // message alone: a control that follows presses (a canvas being
        // drawn on) still sees it as a press, then as the double-click.
        if (captures_mouse_)
            SetCapture(hwnd_);
        {
            const std::int64_t keys =
                modifier_keys((wparam & MK_SHIFT) != 0, (wparam & MK_CONTROL) != 0, GetKeyState(VK_MENU) < 0);
            if (!raise(forms::event::kLeftButtonDown,
                       {to_units(GET_X_LPARAM(lparam), dpi_), to_units(GET_Y_LPARAM(lparam), dpi_), keys}))
                return 0;
        }
        return mouse_event(forms::event::kDoubleClicked, message, wparam, lparam);
    case WM_RBUTTONDOWN:
    // There is no right double-click event: a second right press soon after
    // the first (the user opening a context menu again) is a press like any.
    case WM_RBUTTONDBLCLK:
        return mouse_event(forms::event::kRightButtonDown, message, wparam, lparam);
    case WM_MOUSEMOVE:
        return mouse_event(forms::event::kMouseMoved, message, wparam, lparam);
    case WM_KEYDOWN:
        if (!raise(forms::event::kKeyDown, {std::int64_t(wparam), current_modifiers()}))
            return 0;
        break;
    default:
        break;
    }
    return base(message, wparam, lparam);
}

std::int64_t Control::integer(PropertyId property) const {
    return element_ != nullptr ? element_->integer(property) : 0;
}

std::string Control::text(PropertyId property) const {
    return element_ != nullptr ? element_->text(property) : std::string();
}

RECT Control::bounds() const {
    const GeometryRect r =
        rect_to_pixels({std::int32_t(integer(PropertyId::left)), std::int32_t(integer(PropertyId::top)),
                        std::max(std::int32_t(integer(PropertyId::width)), 0),
                        std::max(std::int32_t(integer(PropertyId::height)), 0)},
                       dpi_);
    return {r.left, r.top, r.left + r.width, r.top + r.height};
}

HFONT Control::font() const {
    return element_ != nullptr ? font_for(element_->get(PropertyId::font), dpi_) : default_font(dpi_);
}

void Control::dpi_changed(std::uint32_t dpi) {
    const std::uint32_t before = dpi_;
    dpi_ = dpi;
    if (hwnd_ == nullptr || element_ == nullptr)
        return;
    // Through property_changed, so that each class places itself its way.
    property_changed(PropertyId::width);
    // The same font at the new DPI: the default one for the controls that
    // always show it, else the element's.
    const auto shown = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    if (shown != nullptr)
        SendMessageW(hwnd_, WM_SETFONT,
                     reinterpret_cast<WPARAM>(shown == default_font(before) ? default_font(dpi_) : font()),
                     FALSE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::apply_geometry() {
    const RECT r = bounds();
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::property_changed(PropertyId property) {
    if (hwnd_ == nullptr || element_ == nullptr)
        return;
    switch (property) {
    case PropertyId::left:
    case PropertyId::top:
    case PropertyId::width:
    case PropertyId::height:
        apply_geometry();
        break;
    case PropertyId::visible:
        ShowWindow(hwnd_, integer(PropertyId::visible) != 0 ? SW_SHOWNA : SW_HIDE);
        break;
    case PropertyId::focusable: {
        const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
        SetWindowLongPtrW(hwnd_, GWL_STYLE,
                          integer(PropertyId::focusable) != 0 ? style | WS_TABSTOP
                                                              : style & ~LONG_PTR(WS_TABSTOP));
        break;
    }
    case PropertyId::text:
        mirroring_ = true;
        SetWindowTextW(hwnd_, wide(text(PropertyId::text)).c_str());
        mirroring_ = false;
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    case PropertyId::font:
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), TRUE);
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    default:
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    }
}

COLORREF Control::background_colour() const {
    return GetSysColor(COLOR_BTNFACE);
}

void Control::paint_client_background(HDC dc, const RECT& area) {
    FillRect(dc, &area, brush_for(background_colour()));
}

Control* Control::backdrop() const {
    RECT mine{};
    GetWindowRect(hwnd_, &mine);
    for (HWND below = GetWindow(hwnd_, GW_HWNDNEXT); below != nullptr;
         below = GetWindow(below, GW_HWNDNEXT)) {
        Control* candidate = desktop_.control_of(below);
        if (candidate == nullptr || !candidate->is_backdrop() || !IsWindowVisible(below))
            continue;
        RECT theirs{}, both{};
        GetWindowRect(below, &theirs);
        if (IntersectRect(&both, &mine, &theirs) && EqualRect(&both, &mine))
            return candidate;
    }
    HWND parent = GetParent(hwnd_);
    return parent != nullptr ? desktop_.control_of(parent) : nullptr;
}

void Control::paint_backdrop(HDC dc) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    Control* under = backdrop();
    if (under == nullptr) {
        FillRect(dc, &client, brush_for(GetSysColor(COLOR_BTNFACE)));
        return;
    }
    POINT origin{0, 0};
    MapWindowPoints(hwnd_, under->hwnd(), &origin, 1);
    POINT old{};
    SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    RECT area = client;
    OffsetRect(&area, origin.x, origin.y);
    under->paint_client_background(dc, area);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

} // namespace vorn::win32
