// The runtime engine: loads the program image, keeps the live windows, runs
// the service slots that the program calls, and dispatches events to the
// program's handlers. One engine runs at a time in a process (the service
// slots are plain functions and reach it through Engine::current()).
#pragma once

#include "base/bytes.h"
#include "base/result.h"
#include "forms/section.h"
#include "image/image.h"
#include "image/loader.h"
#include "runtime/core/contract/abi.h"
#include "runtime/core/engine/desktop.h"
#include "runtime/core/engine/model.h"
#include "runtime/core/engine/pictures.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::runtime {

// The program image after loading: the parsed image (its stored bytes are
// views into `bytes`), the memory blocks with fix-ups applied, and the window
// definitions.
struct Program {
    Bytes bytes;
    image::Image image;
    image::LoadedImage loaded;
    forms::FormSection forms;

    std::uint32_t start_routine() const { return image.start_in_code(); }
};

// Reads, checks and loads an image in the documented order: header and
// sections, var block, fix-ups, remapping groups; then the window definitions.
Result<std::unique_ptr<Program>> load_program(ByteView image_bytes);

// Calls the program's dispatcher.
using Dispatcher = std::function<std::uint64_t(std::uint32_t code_offset, const VornArgs& args)>;

class Engine {
  public:
    Engine(std::unique_ptr<Program> program, Desktop& desktop, Dispatcher dispatch);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    static Engine* current();
    const VornServices& services() const;

    // Runs the image's start routine; returns only if the desktop's
    // end_process does (the simulated desktop unwinds instead).
    void run();

    const Program& program() const { return *program_; }
    Desktop& desktop() { return desktop_; }

    // ---- Windows ----
    LiveWindow* window(std::uint32_t window_id);
    std::vector<std::uint32_t> loaded_windows() const; // in load order
    // Loads a window: builds it from its definition, lets the desktop create
    // it, raises its created event, and for a modal window runs the modal loop
    // until it is closed.
    Status load_window(std::uint32_t window_id, std::uint32_t parent_id, bool modal);
    // Raises the being-destroyed event, then destroys the window. Closing a
    // window that is not loaded does nothing.
    void close_window(std::uint32_t window_id);
    bool is_loaded(std::uint32_t window_id) const;

    // ---- Events ----
    // Raises `event` of an element with integer arguments; unbound events are
    // ignored. Returns whether a handler ran.
    bool raise_event(std::uint32_t window_id, std::uint32_t element_id, std::int32_t event,
                     std::initializer_list<std::int64_t> args = {});
    // A menu item was chosen.
    bool raise_menu_click(std::uint32_t window_id, std::uint32_t item_id);

    // ---- Properties ----
    Result<Value> read_property(std::uint32_t window_id, std::uint32_t element_id, PropertyId property,
                                std::int32_t sub_field = -1);
    Status write_property(std::uint32_t window_id, std::uint32_t element_id, PropertyId property,
                          std::int32_t sub_field, Value value);
    // A block property (a picture is tens of megabytes) read in place, valid
    // until the property next changes, and written by copying into the
    // model's own buffer, whose memory is kept when it is large enough.
    Result<ByteView> read_bytes_property(std::uint32_t window_id, std::uint32_t element_id,
                                         PropertyId property);
    // `block` is the program's block the bytes come from (0 for none): the
    // block it last read from a property, written back unchanged, shares
    // that property's bytes instead of copying them.
    Status write_bytes_property(std::uint32_t window_id, std::uint32_t element_id, PropertyId property,
                                ByteView bytes, std::uintptr_t block = 0);
    void note_block_read(std::uintptr_t block, std::uint32_t window_id, std::uint32_t element_id,
                         PropertyId property);
    // A change made by the user on screen (typed text, a toggled check box, a
    // moved window): updates the model without mirroring it back.
    void update_from_user(std::uint32_t window_id, std::uint32_t element_id, PropertyId property,
                          Value value);

    // ---- Program lifecycle ----
    // Runs the clean-up routine (once), then ends the process.
    [[noreturn]] void end_program(std::uint32_t code);
    [[noreturn]] void fatal(std::uint32_t code, const std::string& message);
    bool cleanup_ran() const { return cleanup_ran_; }

    // ---- Slot implementations (also used by tests) ----
    std::uint64_t call_kernel(std::uint32_t selector, const VornArgs& args);
    std::uint64_t call_library(std::uint32_t library, std::uint32_t selector, const VornArgs& args);
    std::uint64_t call_dll(std::uint32_t index, std::span<const std::uint64_t> args);
    std::uint64_t hook(std::uint32_t sub_function, std::uint64_t argument);

    // Texts and blocks handed to the program: allocated with the service
    // slot's allocator, released by the program.
    static void* allocate(std::size_t size);
    static void release(void* block);
    static char* give_text(const std::string& text);
    static void* give_block(ByteView bytes);
    // Blocks handed to the program and not yet released: a leak shows here.
    static std::int64_t live_blocks();
    static std::string take_text(std::uint64_t address); // reads, does not release
    static Bytes take_block(std::uint64_t address);      // reads, does not release
    static ByteView view_block(std::uint64_t address);   // the bytes in place

    // ---- Elements ----
    struct Element {
        LiveWindow& window;
        LiveElement& element;
    };
    // The one lookup of an element of a loaded window by (window, element).
    Result<Element> find_element(std::uint32_t window_id, std::uint32_t element_id);
    // The same for a command: an element that is not there is a broken
    // contract and ends the program.
    Element element(std::uint32_t window_id, std::uint32_t element_id, std::string_view command);

    // Canvas drawing state of a canvas element, from its properties.
    DrawState draw_state(const LiveElement& canvas) const;

    // Picture files and objects the program holds by number.
    PictureStore& pictures() { return pictures_; }

  private:
    std::unique_ptr<Program> program_;
    Desktop& desktop_;
    Dispatcher dispatch_;
    std::vector<std::unique_ptr<LiveWindow>> windows_; // in load order
    std::set<std::uint32_t> closing_;                  // windows whose destroyed event is running
    std::optional<std::uint32_t> cleanup_offset_;
    bool cleanup_ran_ = false;
    PictureStore pictures_;
    // The block the program last received from a block property, and which.
    struct BlockRead {
        std::uintptr_t block = 0;
        std::uint32_t window = 0;
        std::uint32_t element = 0;
        PropertyId property{};
    };
    BlockRead last_block_read_;
    std::optional<SharedBytes> unchanged_from_last_read(std::uintptr_t block, ByteView bytes);
};

} // namespace vorn::runtime
