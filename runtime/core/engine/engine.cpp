#include "runtime/core/engine/engine.h"

#include "forms/events.h"
#include "forms/ids.h"
#include "runtime/core/engine/block_lending.h"
#include "runtime/core/engine/commands/command_table.h"
#include "runtime/core/engine/errors.h"
#include "runtime/core/engine/program_block.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vorn::runtime {

// Defined with the rest of property access (properties.cpp).
std::uint64_t slot_read_property(std::uint32_t window, std::uint32_t element, std::uint32_t property,
                                 std::int32_t sub_field);
void slot_write_property(std::uint32_t window, std::uint32_t element, std::uint32_t property,
                         std::int32_t sub_field, std::uint64_t value);

namespace {

Engine* g_current = nullptr;

const std::vector<forms::EventBinding>* events_of(const LiveElement& element) {
    const forms::ControlRecord* record = element.definition->control();
    return record == nullptr ? nullptr : &record->events;
}

// ---- The service slots: plain functions reaching the current engine ----

void slot_report_error(std::uint32_t code) {
    Engine::current()->fatal(code, "run-time error " + std::to_string(code) + " reported by the program");
}
std::uint64_t slot_call_dll(std::uint32_t index, std::uint32_t argc, const std::uint64_t* argv) {
    return Engine::current()->call_dll(index, std::span<const std::uint64_t>(argv, argc));
}
std::uint64_t slot_call_library(std::uint32_t library, std::uint32_t selector, const VornArgs* args) {
    static const VornArgs none{0, nullptr};
    return Engine::current()->call_library(library, selector, args ? *args : none);
}
std::uint64_t slot_call_kernel(std::uint32_t selector, const VornArgs* args) {
    static const VornArgs none{0, nullptr};
    return Engine::current()->call_kernel(selector, args ? *args : none);
}
void* slot_allocate(std::uint32_t size) {
    return Engine::allocate(size);
}
void slot_release(void* block) {
    Engine::release(block);
}
void slot_end_program(std::uint32_t code) {
    Engine::current()->end_program(code);
}
void slot_run_message_loop() {
    Engine::current()->desktop().run_message_loop();
}
void slot_load_window(std::uint32_t window) {
    Status loaded = Engine::current()->load_window(window, 0, false);
    if (!loaded)
        Engine::current()->fatal(kContractError, loaded.error().message);
}
std::uint64_t slot_hook(std::uint32_t sub_function, std::uint64_t argument) {
    return Engine::current()->hook(sub_function, argument);
}

const VornServices kServices = {
    slot_report_error,     slot_call_dll,    slot_call_library, slot_call_kernel, slot_read_property,
    slot_write_property,   slot_allocate,    nullptr,           slot_release,     slot_end_program,
    slot_run_message_loop, slot_load_window, slot_hook,
};

} // namespace

Engine::Engine(std::unique_ptr<Program> program, Desktop& desktop, Dispatcher dispatch)
    : program_(std::move(program)), desktop_(desktop), dispatch_(std::move(dispatch)) {
    g_current = this;
    desktop_.attach(*this);
}

Engine::~Engine() {
    if (g_current == this)
        g_current = nullptr;
}

Engine* Engine::current() {
    return g_current;
}

const VornServices& Engine::services() const {
    return kServices;
}

void Engine::run() {
    const VornArgs none{0, nullptr};
    dispatch_(program_->start_routine(), none);
    // A start routine that returns without ending the program ends it here,
    // so that the clean-up still runs.
    end_program(0);
}

// ---- Windows ----

LiveWindow* Engine::window(std::uint32_t window_id) {
    for (auto& window : windows_)
        if (window->id == window_id)
            return window.get();
    return nullptr;
}

std::vector<std::uint32_t> Engine::loaded_windows() const {
    std::vector<std::uint32_t> ids;
    for (const auto& window : windows_)
        ids.push_back(window->id);
    return ids;
}

bool Engine::is_loaded(std::uint32_t window_id) const {
    return std::any_of(windows_.begin(), windows_.end(), [&](const auto& w) { return w->id == window_id; });
}

Status Engine::load_window(std::uint32_t window_id, std::uint32_t parent_id, bool modal) {
    if (is_loaded(window_id))
        return ok_status(); // one instance per window; the program tests before loading again
    const forms::Window* definition = forms::find_window(program_->forms, window_id);
    if (definition == nullptr)
        return Error{"load window: no window " + hex(window_id) + " in the program image"};
    VORN_TRY_ASSIGN(std::unique_ptr<LiveWindow> live, create_live_window(*definition));
    live->parent = parent_id;
    live->modal = modal;
    LiveWindow* parent = parent_id != 0 ? window(parent_id) : nullptr;
    windows_.push_back(std::move(live));
    LiveWindow& created = *windows_.back();
    if (Status status = desktop_.create_window(created, parent); !status) {
        windows_.pop_back();
        return status;
    }
    raise_event(window_id, created.own().id, forms::event::kCreated);
    // The window appears only now, as its created handler left it: a handler
    // that photographs the screen (the region overlay's) must not find the
    // window itself in the picture, nor its stored geometry flash up first.
    if (LiveWindow* shown = window(window_id))
        desktop_.show_created_window(*shown);
    if (modal && is_loaded(window_id))
        desktop_.run_modal_loop(window_id);
    return ok_status();
}

void Engine::close_window(std::uint32_t window_id) {
    LiveWindow* live = window(window_id);
    if (live == nullptr || closing_.count(window_id) != 0)
        return;
    closing_.insert(window_id);
    raise_event(window_id, live->own().id, forms::event::kBeingDestroyed);
    // The handler may have ended the program or closed other windows; look again.
    live = window(window_id);
    if (live != nullptr) {
        desktop_.destroy_window(*live);
        windows_.erase(std::find_if(windows_.begin(), windows_.end(),
                                    [&](const auto& w) { return w->id == window_id; }));
    }
    closing_.erase(window_id);
}

// ---- Elements ----

Result<Engine::Element> Engine::find_element(std::uint32_t window_id, std::uint32_t element_id) {
    LiveWindow* live = window(window_id);
    if (live == nullptr)
        return Error{"window " + hex(window_id) + " is not loaded"};
    LiveElement* element = live->resolve(element_id);
    if (element == nullptr)
        return Error{live->describe() + " has no element " + hex(element_id)};
    return Element{*live, *element};
}

Engine::Element Engine::element(std::uint32_t window_id, std::uint32_t element_id, std::string_view command) {
    Result<Element> found = find_element(window_id, element_id);
    if (!found)
        fatal(kContractError, std::string(command) + ": " + found.error().message);
    return *found;
}

// ---- Commands: one handler per selector, found in the command table ----

std::uint64_t Engine::call_kernel(std::uint32_t selector, const VornArgs& raw) {
    const contract::KernelCommandInfo* info = contract::find_kernel_command(selector);
    const CommandHandler handler = find_kernel_handler(selector);
    if (info == nullptr || handler == nullptr)
        fatal(kContractError, "no runtime command " + std::to_string(selector));
    return handler(*this, Args(*this, info->name, raw, info->args));
}

std::uint64_t Engine::call_library(std::uint32_t library, std::uint32_t selector, const VornArgs& raw) {
    const contract::LibraryCommandInfo* info = contract::find_library_command(library, selector);
    const CommandHandler handler = find_library_handler(library, selector);
    if (info == nullptr || handler == nullptr)
        fatal(kContractError,
              "no command " + hex(selector) + " in support library " + std::to_string(library));
    return handler(*this, Args(*this, info->name, raw, info->args));
}

// ---- Events ----

bool Engine::raise_event(std::uint32_t window_id, std::uint32_t element_id, std::int32_t event,
                         std::initializer_list<std::int64_t> args) {
    LiveWindow* live = window(window_id);
    LiveElement* element = live ? live->resolve(element_id) : nullptr;
    const auto* bindings = element ? events_of(*element) : nullptr;
    if (bindings == nullptr)
        return false;
    auto binding = std::find_if(bindings->begin(), bindings->end(),
                                [&](const forms::EventBinding& b) { return b.event == event; });
    if (binding == bindings->end())
        return false;
    const std::uint32_t handler = binding->handler; // the element may be gone once the handler returns
    std::vector<VornArg> records;
    for (std::int64_t value : args)
        records.push_back(VornArg{std::uint64_t(value), kVornInteger, 0});
    const VornArgs block{std::uint32_t(records.size()), records.data()};
    dispatch_(handler, block);
    return true;
}

bool Engine::raise_menu_click(std::uint32_t window_id, std::uint32_t item_id) {
    LiveWindow* live = window(window_id);
    LiveElement* item = live ? live->find(item_id) : nullptr;
    const forms::MenuItemRecord* record = item ? item->definition->menu_item() : nullptr;
    if (record == nullptr || record->click_handler == forms::kNoHandler)
        return false;
    const VornArgs none{0, nullptr};
    dispatch_(record->click_handler, none);
    return true;
}

// ---- Lifecycle ----

void Engine::end_program(std::uint32_t code) {
    if (!cleanup_ran_ && cleanup_offset_) {
        cleanup_ran_ = true;
        const VornArgs none{0, nullptr};
        dispatch_(*cleanup_offset_, none);
    }
    cleanup_ran_ = true;
    desktop_.end_process(int(code));
    std::abort(); // a backend's end_process never returns
}

void Engine::fatal(std::uint32_t code, const std::string& message) {
    desktop_.fatal_error(code, message);
    std::abort(); // a backend's fatal_error never returns
}

std::uint64_t Engine::hook(std::uint32_t sub_function, std::uint64_t argument) {
    if (sub_function == kVornHookCleanup)
        cleanup_offset_ = std::uint32_t(argument);
    // Sub-functions 0 and 1 bracket text operations in other runtimes; here
    // texts need no handle, so they open and close nothing.
    return 0;
}

// ---- Memory handed to the program ----

namespace {
std::atomic<std::int64_t> blocks_given{0};
} // namespace

void* Engine::allocate(std::size_t size) {
    void* block = BlockLending::process().allocate(size);
    if (block != nullptr)
        ++blocks_given;
    return block;
}

void Engine::release(void* block) {
    if (block == nullptr)
        return;
    --blocks_given;
    BlockLending::process().release(block);
}

std::int64_t Engine::live_blocks() {
    return blocks_given.load();
}

char* Engine::give_text(const std::string& text) {
    auto* out = static_cast<char*>(allocate(text.size() + 1));
    std::memcpy(out, text.data(), text.size());
    return out;
}

void* Engine::give_block(ByteView bytes) {
    return ProgramBlock::copy_of(bytes).hand_over();
}

std::string Engine::take_text(std::uint64_t address) {
    const char* text = reinterpret_cast<const char*>(std::uintptr_t(address));
    return text == nullptr ? std::string() : std::string(text);
}

Bytes Engine::take_block(std::uint64_t address) {
    const ByteView bytes = view_block(address);
    return Bytes(bytes.begin(), bytes.end());
}

ByteView Engine::view_block(std::uint64_t address) {
    const auto* block = reinterpret_cast<const std::uint8_t*>(std::uintptr_t(address));
    if (block == nullptr)
        return {};
    return ByteView(block + kVornBlockHeaderSize, load_u32(block + 4));
}

DrawState Engine::draw_state(const LiveElement& canvas) const {
    DrawState state;
    state.draw_mode = std::int32_t(canvas.integer(PropertyId::draw_mode));
    state.pen_width = std::int32_t(canvas.integer(PropertyId::pen_width));
    state.pen_colour = std::uint32_t(canvas.integer(PropertyId::pen_colour));
    state.brush_type = std::int32_t(canvas.integer(PropertyId::brush_type));
    state.brush_colour = std::uint32_t(canvas.integer(PropertyId::brush_colour));
    state.text_colour = std::uint32_t(canvas.integer(PropertyId::text_colour));
    if (const auto* font = std::get_if<forms::Font>(&canvas.get(PropertyId::font)))
        state.font = *font;
    return state;
}

} // namespace vorn::runtime
