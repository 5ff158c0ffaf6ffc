// The program's side of the runtime contract: typed calls that pack their
// arguments into argument blocks and go through the service slots. Texts are
// GBK std::strings and pictures byte vectors, owned by whoever holds them; the
// runtime's copies of returned texts and blocks are released at once.
#pragma once

#include "base/bytes.h"
#include "forms/ids.h"
#include "forms/properties.h"
#include "runtime/core/contract/abi.h"
#include "runtime/core/contract/commands.h"
#include "runtime/facade/block.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::facade {

using forms::PropertyId;

// An element as the program addresses it: (window id, element id, class id).
using Control = forms::ElementRef;

// One argument of a command, as the program writes it.
class Arg {
  public:
    static Arg omitted() { return Arg(); }
    static Arg integer(std::int64_t value);
    static Arg logical(bool value);
    static Arg real(double value);
    static Arg text(std::string value);
    static Arg block(ByteView value);
    // The block itself, not a copy: it must outlive the call.
    static Arg block(const Block& value);
    static Arg control(Control value);

    // The record this argument becomes; texts and blocks point into `this`.
    VornArg record() const;

  private:
    std::uint32_t type_ = kVornOmitted;
    std::uint64_t value_ = 0;
    std::string text_;
    Bytes block_; // with its 8-byte header
};

class Runtime {
  public:
    explicit Runtime(const VornServices& services) : s_(services) {}

    // ---- Properties ----
    std::int64_t integer(Control control, PropertyId property) const;
    void set_integer(Control control, PropertyId property, std::int64_t value) const;
    bool flag(Control control, PropertyId property) const { return integer(control, property) != 0; }
    void set_flag(Control control, PropertyId property, bool value) const {
        set_integer(control, property, value);
    }
    std::string text(Control control, PropertyId property) const;
    void set_text(Control control, PropertyId property, std::string_view value) const;
    Bytes bytes(Control control, PropertyId property) const;
    void set_bytes(Control control, PropertyId property, ByteView value) const;
    // Block-valued properties without a copy on the program's side.
    Block block(Control control, PropertyId property) const;
    void set_block(Control control, PropertyId property, const Block& value) const;
    // One field of a font property.
    std::string font_name(Control control) const;
    void set_font_name(Control control, std::string_view name) const;
    std::int64_t font_size(Control control) const;
    void set_font_size(Control control, std::int64_t points) const;

    // ---- Windows ----
    void load_window(std::uint32_t window, std::uint32_t parent, bool modal) const;
    void close_window(std::uint32_t window) const;
    bool is_loaded(std::uint32_t window) const;
    std::uint64_t window_handle(Control control) const;
    void give_focus(Control control) const;
    void move(Control control, std::optional<std::int64_t> left, std::optional<std::int64_t> top,
              std::optional<std::int64_t> width = {}, std::optional<std::int64_t> height = {}) const;
    void popup_menu(std::uint32_t window, std::uint32_t menu) const;
    void window_command(Control control, std::int64_t command) const;
    int message_box(std::string_view text, std::int64_t style,
                    std::optional<std::string_view> title = {}) const;

    // ---- Environment ----
    std::string run_directory() const;
    std::string program_file_name() const;
    std::int64_t screen_width() const;
    std::int64_t screen_height() const;
    void wait(std::int64_t milliseconds) const;
    Block snapshot() const;
    Block snapshot(std::uint64_t window_handle, std::int64_t width, std::int64_t height) const;
    void play_sound(ByteView wave) const;
    // A copy of the image's binary constant at this const-section offset.
    Bytes program_constant(std::uint32_t offset) const;
    std::string read_setting(std::string_view file, std::string_view section, std::string_view key,
                             std::optional<std::string_view> fallback = {}) const;
    bool write_setting(std::string_view file, std::string_view section, std::string_view key,
                       std::string_view value) const;
    contract::FileFailure write_file(std::string_view path, ByteView bytes) const;
    contract::FileFailure write_file(std::string_view path, const Block& bytes) const;
    Bytes read_file(std::string_view path) const;
    std::int64_t load_picture_file(std::string_view path) const;
    // The width and height of picture data; 0 for data that is no picture.
    std::int64_t picture_width(const Block& picture) const;
    std::int64_t picture_height(const Block& picture) const;
    // A picture id for picture data held in memory; 0 for empty data.
    std::int64_t load_picture_data(const Block& picture) const;
    std::int64_t picture_id_width(std::int64_t picture) const;
    std::int64_t picture_id_height(std::int64_t picture) const;

    // ---- Canvases ----
    void canvas_clear(Control canvas) const;
    void canvas_rectangle(Control canvas, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                          std::int64_t y2) const;
    void canvas_ellipse(Control canvas, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                        std::int64_t y2) const;
    void canvas_line(Control canvas, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                     std::int64_t y2) const;
    void canvas_polygon(Control canvas, const std::vector<std::int32_t>& points, std::int64_t count) const;
    // Omitted position and size arguments copy the whole source to (0, 0).
    void canvas_copy(Control source, std::optional<std::int64_t> left, std::optional<std::int64_t> top,
                     std::optional<std::int64_t> width, std::optional<std::int64_t> height, Control target,
                     std::optional<std::int64_t> target_left = {},
                     std::optional<std::int64_t> target_top = {},
                     std::optional<std::int64_t> mode = {}) const;
    Block canvas_picture(Control canvas, std::optional<std::int64_t> width = {},
                         std::optional<std::int64_t> height = {}) const;
    void canvas_write_text(Control canvas, std::int64_t x, std::int64_t y, std::string_view text) const;
    std::int64_t canvas_text_width(Control canvas, std::string_view text) const;

    // ---- Objects, dialogs, printer ----
    std::uint64_t create_picture_object(ByteView picture) const;
    std::uint64_t create_picture_object(const Block& picture) const;
    double object_number(std::uint64_t object, std::string_view name) const;
    void release_object(std::uint64_t object) const;
    bool open_file_dialog(Control dialog) const;
    void printer_draw_picture(Control printer, std::int64_t picture, std::int64_t left, std::int64_t top,
                              std::int64_t width, std::int64_t height, std::int64_t mode) const;
    void printer_end_job(Control printer, bool first, bool second, std::int64_t third,
                         std::int64_t fourth) const;

    // ---- Support libraries ----
    void input_device_enable(Control device, bool enable) const;
    void input_device_command(Control device, std::uint32_t selector, std::int64_t value) const;
    std::vector<std::string> process_names() const;
    std::int64_t picture_width(std::string_view path) const;
    std::int64_t picture_height(std::string_view path) const;
    std::uint64_t window_under_pointer() const;
    contract::FileFailure convert_picture(std::string_view source, std::string_view target, bool first,
                                          std::int64_t quality, bool second, std::int64_t last) const;
    // The same with the picture data itself as the source.
    contract::FileFailure convert_picture(const Block& source, std::string_view target, bool first,
                                          std::int64_t quality, bool second, std::int64_t last) const;
    std::string special_folder(std::int64_t folder) const;
    bool create_shortcut(std::string_view link, std::string_view target) const;
    void attach_tip(Control balloon, Control control, std::string_view text, std::int64_t style = -1) const;

    // ---- DLL commands: native arguments ----
    std::uint64_t call_dll(std::uint32_t index, std::initializer_list<std::uint64_t> args) const;

    // ---- Lifecycle and memory ----
    [[noreturn]] void end_program(std::uint32_t code) const;
    [[noreturn]] void report_error(std::uint32_t code) const;
    void run_message_loop() const { s_.run_message_loop(); }
    void load_main_window(std::uint32_t window) const { s_.load_window(window); }
    void hand_over_cleanup(std::uint32_t code_offset) const { s_.hook(kVornHookCleanup, code_offset); }
    void* allocate(std::uint32_t size) const { return s_.allocate(size); }
    void release(void* block) const { s_.release(block); }

    // The raw commands, for what has no typed call.
    std::uint64_t kernel(contract::KernelCommand command, std::initializer_list<Arg> args) const;
    std::uint64_t library(contract::LibraryIndex library, std::uint32_t selector,
                          std::initializer_list<Arg> args) const;

  private:
    std::string take_text(std::uint64_t address) const;
    Bytes take_block(std::uint64_t address) const;
    Block adopt_block(std::uint64_t address) const { return Block(address, s_.release); }

    const VornServices& s_;
};

// Reading the argument block an event handler receives.
class EventArgs {
  public:
    explicit EventArgs(const VornArgs& args) : args_(args) {}
    std::size_t count() const { return args_.count; }
    std::int64_t integer(std::size_t index) const;

  private:
    const VornArgs& args_;
};

} // namespace vorn::facade
