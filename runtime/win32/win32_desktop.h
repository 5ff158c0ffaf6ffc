// The real desktop: the engine's backend on Windows. The model is the truth;
// this creates the native windows from it, mirrors every change, and feeds
// what the user does back to the engine (update_from_user, then the event).
// Texts cross as GBK at the engine's side and as UTF-16 at Windows's side.
//
// Everything runs on the one user-interface thread. Windows that the engine
// drops are detached at once and freed only when no window procedure is on
// the stack, since a program handler that closes a window usually runs
// inside one of that window's own procedures.
#pragma once

#include "base/bytes.h"
#include "runtime/core/engine/desktop.h"

#include "runtime/win32/portable/bitmap_owners.h"
#include "runtime/win32/portable/held_grab.h"
#include "runtime/win32/win32_api.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vorn::win32 {

class Component;
class Control;
class TopWindow;

class Win32Desktop final : public runtime::Desktop {
  public:
    Win32Desktop();
    ~Win32Desktop() override;
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

    runtime::Engine& engine() { return *engine_; }

    // ---- For the wrappers ----
    void adopt(HWND hwnd, Control* control) { wrappers_[hwnd] = control; }
    void forget(HWND hwnd);
    Control* control_of(HWND hwnd) const;
    void enter_procedure() { ++depth_; }
    void leave_procedure();
    TopWindow* top_window(std::uint32_t window_id) const;
    // Timers of components, on the runtime's hidden message window.
    UINT_PTR start_timer(Component& component, UINT milliseconds);
    void stop_timer(UINT_PTR timer);
    // A call of the component's on_notice() once the message being handled
    // now is done: posted messages come before the input waiting behind it.
    void post_notice(Component& component);
    void forget_notices(const Component& component);
    HWND message_window() const { return messages_; }

    // ---- Desktop: windows ----
    void attach(runtime::Engine& engine) override;
    Status create_window(runtime::LiveWindow& window, runtime::LiveWindow* parent) override;
    void show_created_window(runtime::LiveWindow& window) override;
    void destroy_window(runtime::LiveWindow& window) override;
    void property_changed(runtime::LiveWindow& window, runtime::LiveElement& element,
                          runtime::PropertyId property) override;
    bool refresh_property(runtime::LiveWindow& window, runtime::LiveElement& element,
                          runtime::PropertyId property) override;
    void run_message_loop() override;
    void run_modal_loop(std::uint32_t window_id) override;
    [[noreturn]] void end_process(int code) override;
    [[noreturn]] void fatal_error(std::uint32_t code, const std::string& message) override;

    // ---- Desktop: questions for the user (desktop_dialogs.cpp) ----
    int message_box(const std::string& text, const std::string& title, std::uint32_t style) override;
    void popup_menu(runtime::LiveWindow& window, runtime::LiveElement& menu,
                    std::optional<runtime::Point> at) override;
    void give_focus(runtime::LiveWindow& window, runtime::LiveElement& element) override;
    std::uint64_t native_handle(runtime::LiveWindow& window, runtime::LiveElement& element) override;
    void window_command(runtime::LiveWindow& window, runtime::LiveElement& element,
                        std::int64_t command) override;
    std::optional<std::string> open_file_dialog(runtime::LiveWindow& window,
                                                runtime::LiveElement& dialog) override;
    void attach_tip(runtime::LiveWindow& tip_window, runtime::LiveElement& balloon,
                    runtime::LiveWindow& window, runtime::LiveElement& control,
                    const std::string& text) override;
    void prepare_input_device(runtime::LiveWindow& window, runtime::LiveElement& device,
                              std::uint32_t selector, std::int64_t value) override;
    runtime::CanvasSurface& canvas(runtime::LiveWindow& window, runtime::LiveElement& canvas) override;
    void print_picture(runtime::LiveWindow& window, runtime::LiveElement& printer, ByteView picture,
                       std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override;
    void end_print_job(runtime::LiveWindow& window, runtime::LiveElement& printer) override;

    // ---- Desktop: screen and system (desktop_system.cpp) ----
    runtime::Size screen_size() override;
    runtime::ProgramBlock snapshot(const runtime::SnapshotRequest& request) override;
    void wait(std::uint32_t milliseconds) override;
    void play_sound(ByteView wave) override;
    std::string run_directory() override;
    std::string program_file_name() override;
    std::filesystem::path host_path(const std::string& program_path) override;
    std::optional<std::uint64_t> call_dll(const std::string& library, const std::string& function,
                                          std::span<const std::uint64_t> args) override;
    std::vector<std::string> process_names() override;
    std::uint64_t window_under_pointer() override;
    std::string special_folder(std::int32_t folder) override;
    bool create_shortcut(const std::string& link, const std::string& target) override;
    runtime::PictureObject create_picture_object(ByteView picture) override;
    void release_picture_object(std::uint64_t object) override;

  private:
    struct ModalSession {
        std::uint32_t window_id = 0;
        std::vector<std::uint32_t> disabled; // windows this session disabled
        bool restored = false;
    };

    static LRESULT CALLBACK message_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    void bury();
    void drop_held_grab();
    void end_modal_session(std::uint32_t window_id);
    // The window a dialog or message box belongs to: the active one of ours,
    // else the last loaded window that is shown; null when none is.
    HWND dialog_owner() const;
    bool see_through_at(HWND window) const;
    std::string default_title();
    Component* component(runtime::LiveWindow& window, runtime::LiveElement& element) const;

    runtime::Engine* engine_ = nullptr;
    std::map<std::uint32_t, std::unique_ptr<TopWindow>> windows_;
    std::vector<std::unique_ptr<TopWindow>> graveyard_;
    std::unordered_map<HWND, Control*> wrappers_;
    int depth_ = 0;
    HWND messages_ = nullptr;
    std::map<UINT_PTR, Component*> timers_;
    std::map<UINT_PTR, Component*> notices_;
    UINT_PTR next_timer_ = 1; // numbers notices too
    std::vector<ModalSession> modal_sessions_;
    BitmapOwners bitmap_owners_; // the picture objects' bitmaps
    HeldGrab held_grab_;         // the last snapshot's bitmap, until the handler returns
    Bytes sound_;                // kept alive while PlaySound plays it from memory
    bool com_ready_ = false;
};

} // namespace vorn::win32
