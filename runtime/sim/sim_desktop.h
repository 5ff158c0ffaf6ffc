// The simulated desktop: a Desktop that the engine drives in native tests,
// with a screen of pixels, foreign windows, a clipboard, files in a
// temporary folder, and scripted answers for everything that would wait for
// a person (message boxes, file dialogs, popup menus, modal windows). Every
// request is kept as a record and as a line of one ordered trace.
//
// A test sets the scene, hands a session script to run(), and acts as the
// user through user() inside it. The message loop does not wait for
// anything: it runs the session script and returns, after which the
// program ends as its start routine does after its loop.
#pragma once

#include "runtime/core/engine/desktop.h"
#include "runtime/sim/canvas.h"
#include "runtime/sim/clipboard.h"
#include "runtime/sim/host_files.h"
#include "runtime/sim/pictures.h"
#include "runtime/sim/records.h"
#include "runtime/sim/staged_files.h"
#include "runtime/sim/trace.h"
#include "runtime/sim/user32.h"
#include "runtime/sim/windows.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vorn::sim {

class SimUser;

class SimDesktop final : public runtime::Desktop {
  public:
    using Script = std::function<void(SimDesktop&)>;

    SimDesktop();
    ~SimDesktop() override;
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    // ---- Running the program ----
    // Runs the engine's start routine with `session` as the message loop's
    // script; returns the exit code. A RuntimeFailure passes through.
    int run(runtime::Engine& engine, Script session);
    void set_session(Script session) { session_ = std::move(session); }
    // Scripts for modal windows, queued per window: each modal loop of the
    // window runs the next one. The loop returns when its script does, even
    // if the window is still open (a real one would block until it closed);
    // with no script queued it returns at once.
    void on_modal(std::uint32_t window_id, Script script) {
        modal_scripts_[window_id].push_back(std::move(script));
    }
    SimUser& user() { return *user_; }
    runtime::Engine& engine() {
        if (engine_ == nullptr)
            throw std::logic_error("the simulated desktop is not attached to an engine");
        return *engine_;
    }
    std::optional<int> exit_code() const { return exit_code_; }

    // ---- The scene ----
    // The screen starts as a plain 1024 x 768 desktop.
    void set_screen(picture::Image screen) { screen_ = std::move(screen); }
    const picture::Image& screen() const { return screen_; }
    WindowTable& windows() { return windows_; }
    Clipboard& clipboard() { return clipboard_; }
    PictureObjects& pictures() { return pictures_; }
    HostFiles& files() { return files_; }
    // Faults staged on folders of files(): read-only, full.
    StagedFiles& file_faults() { return staged_; }
    Trace& trace() { return trace_; }
    // Process names (UTF-8). Unset, the list holds the system's processes and
    // this program once, written as the process list writes it ("exe" as
    // "EXE"), as for a single running copy.
    void set_process_names(std::vector<std::string> utf8_names) { process_names_ = std::move(utf8_names); }
    void set_program_file_name(const std::string& utf8_name);
    void set_text_metric(TextMetric metric) { metric_ = std::move(metric); }

    // ---- Scripted answers, each used once, in order ----
    // Without one a message box answers IDOK (1), a file dialog is cancelled
    // and a popup menu is dismissed.
    void answer_message_box(int button) { box_answers_.push_back(button); }
    void answer_file_dialog(std::optional<std::string> utf8_path) {
        file_answers_.push_back(std::move(utf8_path));
    }
    // The item is chosen as Windows does it: its click arrives after the
    // event that opened the menu has been handled.
    void choose_in_next_popup(std::uint32_t item_id) { popup_choices_.push_back(item_id); }
    // Menu clicks waiting for delivery, as (window, item); SimUser delivers them.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> take_posted() { return std::exchange(posted_, {}); }

    // ---- The input device ----
    // The one the program has enabled, as (window, element); nullopt when
    // none is enabled or its window is gone. SimUser has it report clicks
    // on our own windows as the real one does: a press once the press's
    // event is handled, a release once the release's (or click's) event is.
    std::optional<std::pair<std::uint32_t, std::uint32_t>> watching_device();
    struct DeviceReport {
        std::uint32_t window = 0;
        std::uint32_t device = 0;
        std::int64_t code = 0;
    };
    void post_device_report(DeviceReport report) { device_reports_.push_back(report); }
    std::vector<DeviceReport> take_device_reports() { return std::exchange(device_reports_, {}); }

    // ---- Records ----
    std::uint64_t now() const { return clock_; }
    const std::vector<MessageBoxRecord>& message_boxes() const { return message_boxes_; }
    const std::vector<PopupRecord>& popups() const { return popups_; }
    const std::vector<FileDialogRecord>& file_dialogs() const { return file_dialogs_; }
    const std::vector<SoundRecord>& sounds() const { return sounds_; }
    const std::vector<PrintJob>& print_jobs() const { return print_jobs_; }
    const PrintJob& unfinished_print_job() const { return printing_; }
    const std::vector<TipRecord>& tips() const { return tips_; }
    const std::vector<DevicePreparation>& device_preparations() const { return device_preparations_; }
    const std::vector<ElementRecord>& focus_changes() const { return focus_changes_; }
    const std::vector<ElementRecord>& window_commands() const { return window_commands_; }
    // A canvas's surface; null when none was made. It outlives its window
    // until the window is loaded again, so a test can look at it afterwards.
    SimCanvas* find_canvas(std::uint32_t window_id, std::uint32_t element_id);

    // ---- Desktop ----
    void attach(runtime::Engine& engine) override { engine_ = &engine; }
    Status create_window(runtime::LiveWindow& window, runtime::LiveWindow* parent) override;
    void show_created_window(runtime::LiveWindow& window) override;
    void destroy_window(runtime::LiveWindow& window) override;
    void property_changed(runtime::LiveWindow& window, runtime::LiveElement& element,
                          runtime::PropertyId property) override;
    void run_message_loop() override;
    void run_modal_loop(std::uint32_t window_id) override;
    [[noreturn]] void end_process(int code) override;
    [[noreturn]] void fatal_error(std::uint32_t code, const std::string& message) override;
    int message_box(const std::string& text, const std::string& title, std::uint32_t style) override;
    void popup_menu(runtime::LiveWindow& window, runtime::LiveElement& menu,
                    std::optional<runtime::Point> at) override;
    void give_focus(runtime::LiveWindow& window, runtime::LiveElement& element) override;
    std::uint64_t native_handle(runtime::LiveWindow& window, runtime::LiveElement& element) override;
    void window_command(runtime::LiveWindow& window, runtime::LiveElement& element,
                        std::int64_t command) override;
    std::optional<std::string> open_file_dialog(runtime::LiveWindow& window,
                                                runtime::LiveElement& dialog) override;
    runtime::Size screen_size() override { return {screen_.width, screen_.height}; }
    runtime::ProgramBlock snapshot(const runtime::SnapshotRequest& request) override;
    void wait(std::uint32_t milliseconds) override;
    void play_sound(ByteView wave) override;
    std::string run_directory() override { return files_.run_directory(); }
    std::string program_file_name() override { return program_file_name_; }
    std::filesystem::path host_path(const std::string& program_path) override {
        return files_.map(program_path);
    }
    settings::FileSystem& file_system() override { return staged_; }
    std::optional<std::uint64_t> call_dll(const std::string& library, const std::string& function,
                                          std::span<const std::uint64_t> args) override;
    std::vector<std::string> process_names() override;
    std::uint64_t window_under_pointer() override;
    std::string special_folder(std::int32_t folder) override;
    bool create_shortcut(const std::string& link, const std::string& target) override;
    void attach_tip(runtime::LiveWindow& tip_window, runtime::LiveElement& balloon,
                    runtime::LiveWindow& window, runtime::LiveElement& control,
                    const std::string& text) override;
    void prepare_input_device(runtime::LiveWindow& window, runtime::LiveElement& device,
                              std::uint32_t selector, std::int64_t value) override;
    runtime::PictureObject create_picture_object(ByteView picture) override;
    void release_picture_object(std::uint64_t object) override;
    runtime::CanvasSurface& canvas(runtime::LiveWindow& window, runtime::LiveElement& canvas) override;
    void print_picture(runtime::LiveWindow& window, runtime::LiveElement& printer, ByteView picture,
                       std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override;
    void end_print_job(runtime::LiveWindow& window, runtime::LiveElement& printer) override;

    // "main.按钮_复制", "main" for a window's own element.
    std::string describe(const runtime::LiveWindow& window, const runtime::LiveElement& element) const;

  private:
    SimCanvas& make_canvas(const runtime::LiveWindow& window, const runtime::LiveElement& element);

    runtime::Engine* engine_ = nullptr;
    std::unique_ptr<SimUser> user_;
    Trace trace_;
    picture::Image screen_;
    WindowTable windows_;
    PictureObjects pictures_;
    Clipboard clipboard_{pictures_};
    User32 user32_{windows_, clipboard_};
    HostFiles files_;
    StagedFiles staged_;
    TextMetric metric_;
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::unique_ptr<SimCanvas>> canvases_;

    Script session_;
    std::map<std::uint32_t, std::deque<Script>> modal_scripts_;
    std::deque<int> box_answers_;
    std::deque<std::optional<std::string>> file_answers_;
    std::deque<std::uint32_t> popup_choices_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> posted_;

    std::string program_file_name_;
    std::optional<std::vector<std::string>> process_names_;
    std::uint64_t clock_ = 0;
    std::optional<int> exit_code_;

    std::vector<MessageBoxRecord> message_boxes_;
    std::vector<PopupRecord> popups_;
    std::vector<FileDialogRecord> file_dialogs_;
    std::vector<SoundRecord> sounds_;
    std::vector<PrintJob> print_jobs_;
    PrintJob printing_;
    std::vector<TipRecord> tips_;
    std::vector<DevicePreparation> device_preparations_;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> enabled_device_;
    std::vector<DeviceReport> device_reports_;
    std::vector<ElementRecord> focus_changes_;
    std::vector<ElementRecord> window_commands_;
};

} // namespace vorn::sim
