// What the runtime needs from the platform: the real Win32 backend and the
// simulated desktop of the tests both implement this. The engine keeps the
// object model and the program's rules; a backend only shows, asks and
// measures.
#pragma once

#include "base/bytes.h"
#include "base/result.h"
#include "runtime/core/engine/canvas.h"
#include "runtime/core/engine/model.h"
#include "runtime/core/engine/pictures.h"
#include "runtime/core/engine/program_block.h"
#include "runtime/core/settings/file_system.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vorn::runtime {

class Engine;

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const Size&) const = default;
};

// A snapshot request: all omitted for the whole screen, else one window.
struct SnapshotRequest {
    std::optional<std::uint64_t> window;
    std::optional<std::int32_t> width;
    std::optional<std::int32_t> height;
};

class Desktop {
  public:
    virtual ~Desktop() = default;

    // Called once before the start routine runs.
    virtual void attach(Engine& engine) = 0;

    // Windows. `create_window` builds the native window and its controls from
    // the model, hidden; `property_changed` mirrors one changed property.
    virtual Status create_window(LiveWindow& window, LiveWindow* parent) = 0;
    // After the created event: shows the window if its visible property
    // says so. Until then a created window stays hidden.
    virtual void show_created_window(LiveWindow& window) = 0;
    virtual void destroy_window(LiveWindow& window) = 0;
    virtual void property_changed(LiveWindow& window, LiveElement& element, PropertyId property) = 0;
    // Reads a property whose truth is on screen (a window's position after the
    // user moved it); returns false to let the model answer.
    virtual bool refresh_property(LiveWindow&, LiveElement&, PropertyId) { return false; }

    // Runs until the program ends; never returns normally.
    virtual void run_message_loop() = 0;
    // Runs until `window_id` is no longer loaded (or the program ends).
    virtual void run_modal_loop(std::uint32_t window_id) = 0;
    // Ends the process with `code`; the engine has already run the clean-up.
    [[noreturn]] virtual void end_process(int code) = 0;
    // A run-time error (an index check, a DLL call with the wrong arguments,
    // a command given arguments it cannot take): report it and end.
    [[noreturn]] virtual void fatal_error(std::uint32_t code, const std::string& message) = 0;

    // The button pressed (IDOK = 1, ...). Texts are GBK.
    virtual int message_box(const std::string& text, const std::string& title, std::uint32_t style) = 0;
    virtual void popup_menu(LiveWindow& window, LiveElement& menu, std::optional<Point> at) = 0;
    virtual void give_focus(LiveWindow& window, LiveElement& element) = 0;
    virtual std::uint64_t native_handle(LiveWindow& window, LiveElement& element) = 0;
    virtual void window_command(LiveWindow& window, LiveElement& element, std::int64_t command) = 0;
    // Shows the file dialog as its properties describe it; on success the
    // chosen path (GBK), on cancel nullopt.
    virtual std::optional<std::string> open_file_dialog(LiveWindow& window, LiveElement& dialog) = 0;

    // Screen and system.
    virtual Size screen_size() = 0;
    virtual ProgramBlock snapshot(const SnapshotRequest& request) = 0; // picture data
    virtual void wait(std::uint32_t milliseconds) = 0;
    virtual void play_sound(ByteView wave) = 0;
    // The directory holding the executable (GBK, no trailing backslash) and
    // the executable's file name.
    virtual std::string run_directory() = 0;
    virtual std::string program_file_name() = 0;
    // Maps a program path (GBK, Windows form) to a file of this machine.
    virtual std::filesystem::path host_path(const std::string& program_path) = 0;
    // Where the file commands read and write: the machine's files, unless a
    // desktop stages faults.
    virtual settings::FileSystem& file_system() { return settings::real_file_system(); }

    // DLL commands of the image's table; nullopt when the function cannot be found.
    virtual std::optional<std::uint64_t> call_dll(const std::string& library, const std::string& function,
                                                  std::span<const std::uint64_t> args) = 0;

    // Support-library services.
    virtual std::vector<std::string> process_names() = 0; // GBK file names
    virtual std::uint64_t window_under_pointer() = 0;
    virtual std::string special_folder(std::int32_t folder) = 0; // GBK, with a trailing backslash
    virtual bool create_shortcut(const std::string& link, const std::string& target) = 0;
    virtual void attach_tip(LiveWindow& tip_window, LiveElement& balloon, LiveWindow& window,
                            LiveElement& control, const std::string& text) = 0;
    // The input device's preparation commands, by selector, in call order.
    virtual void prepare_input_device(LiveWindow& window, LiveElement& device, std::uint32_t selector,
                                      std::int64_t value) = 0;
    // An OLE picture built from picture data. Its bitmap is one the object
    // does not own: once handed to the clipboard it must outlive the object.
    // Both handles are 0 when the data cannot be read.
    virtual PictureObject create_picture_object(ByteView picture) = 0;
    virtual void release_picture_object(std::uint64_t object) = 0;

    // Canvases: every drawing operation goes to the canvas's surface.
    virtual CanvasSurface& canvas(LiveWindow& window, LiveElement& canvas) = 0;

    // The printer component: one job with one page per call of end_job.
    virtual void print_picture(LiveWindow& window, LiveElement& printer, ByteView picture, std::int32_t left,
                               std::int32_t top, std::int32_t width, std::int32_t height) = 0;
    virtual void end_print_job(LiveWindow& window, LiveElement& printer) = 0;
};

} // namespace vorn::runtime
