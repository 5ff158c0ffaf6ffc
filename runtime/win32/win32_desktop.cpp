#include "runtime/win32/win32_desktop.h"

#include "runtime/core/engine/engine.h"
#include "runtime/win32/components/balloon_tip.h"
#include "runtime/win32/controls/top_window.h"
#include "runtime/win32/text.h"
#include "runtime/win32/trace.h"

#include <commctrl.h>

#include <algorithm>

namespace vorn::win32 {

namespace {

constexpr const wchar_t* kMessageWindowClass = L"VornMessages";
constexpr UINT kNoticeMessage = WM_APP + 1;
constexpr UINT kLowestFailureExitCode = 1;

std::string window_label(std::uint32_t window_id) {
    return "window " + hex(window_id);
}

} // namespace

Win32Desktop::Win32Desktop() = default;

Win32Desktop::~Win32Desktop() {
    // The windows' components reach back into the timer and notice tables
    // as they go: they go while those are still here.
    windows_.clear();
    graveyard_.clear();
    drop_held_grab();
    if (messages_ != nullptr)
        DestroyWindow(messages_);
}

// ---- Wrappers and their lifetime ----

void Win32Desktop::forget(HWND hwnd) {
    wrappers_.erase(hwnd);
}

Control* Win32Desktop::control_of(HWND hwnd) const {
    auto it = wrappers_.find(hwnd);
    return it == wrappers_.end() ? nullptr : it->second;
}

void Win32Desktop::leave_procedure() {
    if (--depth_ == 0) {
        bury();
        // The handler that took the snapshot is done: whatever it wanted a
        // bitmap of, it has asked for.
        drop_held_grab();
    }
}

void Win32Desktop::drop_held_grab() {
    if (std::optional<std::uint64_t> held = held_grab_.release())
        DeleteObject(reinterpret_cast<HBITMAP>(std::uintptr_t(*held)));
}

void Win32Desktop::bury() {
    if (depth_ == 0)
        graveyard_.clear();
}

TopWindow* Win32Desktop::top_window(std::uint32_t window_id) const {
    auto it = windows_.find(window_id);
    return it == windows_.end() ? nullptr : it->second.get();
}

Component* Win32Desktop::component(runtime::LiveWindow& window, runtime::LiveElement& element) const {
    TopWindow* top = top_window(window.id);
    return top != nullptr ? top->component(element.id) : nullptr;
}

// ---- Timers on the hidden message window ----

LRESULT CALLBACK Win32Desktop::message_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
    auto* desktop = reinterpret_cast<Win32Desktop*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (desktop == nullptr || (message != WM_TIMER && message != kNoticeMessage))
        return DefWindowProcW(hwnd, message, wparam, lparam);
    if (message == kNoticeMessage) {
        auto notice = desktop->notices_.find(UINT_PTR(wparam));
        if (notice == desktop->notices_.end())
            return 0; // its component went meanwhile
        Component* component = notice->second;
        desktop->notices_.erase(notice);
        desktop->enter_procedure();
        component->on_notice();
        desktop->leave_procedure();
        return 0;
    }
    auto it = desktop->timers_.find(UINT_PTR(wparam));
    if (it == desktop->timers_.end())
        return 0;
    desktop->enter_procedure();
    it->second->on_timer();
    desktop->leave_procedure();
    return 0;
}

void Win32Desktop::post_notice(Component& component) {
    const UINT_PTR notice = next_timer_++;
    notices_[notice] = &component;
    if (!PostMessageW(messages_, kNoticeMessage, notice, 0))
        notices_.erase(notice);
}

void Win32Desktop::forget_notices(const Component& component) {
    std::erase_if(notices_, [&](const auto& entry) { return entry.second == &component; });
}

UINT_PTR Win32Desktop::start_timer(Component& component, UINT milliseconds) {
    const UINT_PTR timer = next_timer_++;
    timers_[timer] = &component;
    SetTimer(messages_, timer, milliseconds, nullptr);
    return timer;
}

void Win32Desktop::stop_timer(UINT_PTR timer) {
    KillTimer(messages_, timer);
    timers_.erase(timer);
}

// ---- Windows ----

void Win32Desktop::attach(runtime::Engine& engine) {
    engine_ = &engine;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = &Win32Desktop::message_procedure;
    description.hInstance = runtime_module();
    description.lpszClassName = kMessageWindowClass;
    RegisterClassExW(&description);
    messages_ = CreateWindowExW(0, kMessageWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                runtime_module(), this);
    trace("attach");
}

Status Win32Desktop::create_window(runtime::LiveWindow& window, runtime::LiveWindow* parent) {
    trace("create_window " + hex(window.id) + " \"" + utf8_from_gbk(window.own().text(PropertyId::text)) +
          "\"" + (window.own().integer(PropertyId::visible) != 0 ? " shown" : " hidden") +
          (window.modal ? " modal" : ""));
    TopWindow* owner = parent != nullptr ? top_window(parent->id) : nullptr;
    Result<std::unique_ptr<TopWindow>> made =
        TopWindow::create(*this, window, owner != nullptr ? owner->hwnd() : nullptr);
    if (!made)
        return made.error();
    window.native = reinterpret_cast<std::uintptr_t>((*made)->hwnd());
    window.own().native = window.native;
    for (runtime::LiveElement& element : window.elements)
        if (Control* control = (*made)->control(element.id))
            element.native = reinterpret_cast<std::uintptr_t>(control->hwnd());
    windows_[window.id] = std::move(*made);
    return ok_status();
}

void Win32Desktop::show_created_window(runtime::LiveWindow& window) {
    TopWindow* top = top_window(window.id);
    if (top == nullptr || window.own().integer(PropertyId::visible) == 0)
        return;
    trace("show_window " + hex(window.id));
    ShowWindow(top->hwnd(), SW_SHOW);
}

void Win32Desktop::destroy_window(runtime::LiveWindow& window) {
    trace("destroy_window " + hex(window.id));
    auto it = windows_.find(window.id);
    if (it == windows_.end())
        return;
    std::unique_ptr<TopWindow> top = std::move(it->second);
    windows_.erase(it);
    // The tips other windows' balloons show over these controls go first.
    std::vector<HWND> going = top->control_windows();
    going.push_back(top->hwnd());
    for (auto& [id, other] : windows_)
        for (runtime::LiveElement& element : other->window()->elements)
            if (auto* balloon = dynamic_cast<BalloonTip*>(other->component(element.id)))
                for (HWND hwnd : going)
                    balloon->forget(hwnd);
    // A closing modal window gives the windows it disabled back before it
    // goes, so that Windows activates one of ours and not another program.
    end_modal_session(window.id);
    HWND hwnd = top->hwnd();
    top->detach();
    for (runtime::LiveElement& element : window.elements)
        element.native = 0;
    window.native = 0;
    if (hwnd != nullptr)
        DestroyWindow(hwnd);
    graveyard_.push_back(std::move(top));
    bury();
}

void Win32Desktop::property_changed(runtime::LiveWindow& window, runtime::LiveElement& element,
                                    runtime::PropertyId property) {
    if (tracing())
        trace("property " + hex(window.id) + "/" +
              (element.name().empty() ? hex(element.id) : utf8_from_gbk(element.name())) + " " +
              std::string(forms::property_name(property)));
    TopWindow* top = top_window(window.id);
    if (top == nullptr)
        return;
    if (&element == &window.own()) {
        top->property_changed(property);
    } else if (Control* control = top->control(element.id)) {
        control->property_changed(property);
    } else if (Component* helper = top->component(element.id)) {
        helper->property_changed(property);
    }
}

bool Win32Desktop::refresh_property(runtime::LiveWindow& window, runtime::LiveElement& element,
                                    runtime::PropertyId property) {
    // Where a window is on the screen is the screen's to say (the user may
    // have dragged it by its caption, or moved it to a monitor of another
    // DPI); a minimised window keeps the model's. A control may say its size
    // too (a canvas that takes its picture's size).
    const bool geometry = property == PropertyId::left || property == PropertyId::top ||
                          property == PropertyId::width || property == PropertyId::height;
    TopWindow* top = top_window(window.id);
    if (!geometry || &element != &window.own() || top == nullptr)
        return top != nullptr && geometry && top->control(element.id) != nullptr &&
               top->control(element.id)->refresh_size(property);
    GeometryRect outer;
    if (!top->geometry_in_units(outer))
        return false;
    element.properties[PropertyId::left] = std::int64_t(outer.left);
    element.properties[PropertyId::top] = std::int64_t(outer.top);
    element.properties[PropertyId::width] = std::int64_t(outer.width);
    element.properties[PropertyId::height] = std::int64_t(outer.height);
    return true;
}

// ---- Loops ----

// Neither loop passes messages through IsDialogMessage: it would take Enter
// and Escape away from the edit boxes, whose key events the program binds,
// so Tab does not move the focus between controls.
void Win32Desktop::run_message_loop() {
    trace("message loop");
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
        bury();
        // With every window closed there is nothing left to wait for.
        if (engine_->loaded_windows().empty())
            break;
    }
    trace("message loop ends");
}

void Win32Desktop::run_modal_loop(std::uint32_t window_id) {
    trace("modal loop " + window_label(window_id));
    ModalSession session;
    session.window_id = window_id;
    for (std::uint32_t other : engine_->loaded_windows()) {
        TopWindow* top = top_window(other);
        if (other == window_id || top == nullptr || !IsWindowEnabled(top->hwnd()))
            continue;
        EnableWindow(top->hwnd(), FALSE);
        session.disabled.push_back(other);
    }
    modal_sessions_.push_back(std::move(session));
    MSG message{};
    while (engine_->is_loaded(window_id)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The quit belongs to the outer loop.
            PostQuitMessage(int(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    end_modal_session(window_id);
    trace("modal loop " + window_label(window_id) + " ends");
}

void Win32Desktop::end_modal_session(std::uint32_t window_id) {
    auto it = std::find_if(modal_sessions_.begin(), modal_sessions_.end(),
                           [&](const ModalSession& session) { return session.window_id == window_id; });
    if (it == modal_sessions_.end())
        return;
    for (std::uint32_t other : it->disabled)
        if (TopWindow* top = top_window(other))
            EnableWindow(top->hwnd(), TRUE);
    modal_sessions_.erase(it);
}

// ---- The end ----

void Win32Desktop::end_process(int code) {
    trace("end process " + std::to_string(code));
    ExitProcess(UINT(code));
}

void Win32Desktop::fatal_error(std::uint32_t code, const std::string& message) {
    trace("fatal error " + std::to_string(code) + ": " + message);
    const std::wstring text = L"运行时错误 " + std::to_wstring(code) + L"：\n" + wide_from_utf8(message);
    MessageBoxW(dialog_owner(), text.c_str(), L"运行时错误", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(std::max(UINT(code), kLowestFailureExitCode));
}

HWND Win32Desktop::dialog_owner() const {
    HWND active = GetActiveWindow();
    if (active != nullptr && control_of(active) != nullptr)
        return active;
    if (engine_ == nullptr)
        return nullptr;
    const std::vector<std::uint32_t> loaded = engine_->loaded_windows();
    for (auto it = loaded.rbegin(); it != loaded.rend(); ++it)
        if (TopWindow* top = top_window(*it); top != nullptr && IsWindowVisible(top->hwnd()))
            return top->hwnd();
    return nullptr;
}

} // namespace vorn::win32
