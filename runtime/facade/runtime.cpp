#include "runtime/facade/runtime.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace vorn::facade {

namespace {

using contract::KernelCommand;
using contract::LibraryIndex;
namespace lc = contract::library_command;
using forms::FontField;

std::vector<VornArg> records_of(std::initializer_list<Arg> args) {
    std::vector<VornArg> records;
    records.reserve(args.size());
    for (const Arg& arg : args)
        records.push_back(arg.record());
    return records;
}

Arg optional_integer(std::optional<std::int64_t> value) {
    return value ? Arg::integer(*value) : Arg::omitted();
}

// Property values cross the boundary as 64-bit words; texts and blocks as
// addresses of zero-terminated texts and of blocks with their 8-byte header.
Bytes block_with_header(ByteView bytes) {
    Bytes block(kVornBlockHeaderSize + bytes.size());
    store_u32(block.data(), kVornBlockMarker);
    store_u32(block.data() + 4, std::uint32_t(bytes.size()));
    if (!bytes.empty())
        std::memcpy(block.data() + kVornBlockHeaderSize, bytes.data(), bytes.size());
    return block;
}

} // namespace

// ---- Arg ----

Arg Arg::integer(std::int64_t value) {
    Arg arg;
    arg.type_ = kVornInteger;
    arg.value_ = std::uint64_t(value);
    return arg;
}

Arg Arg::logical(bool value) {
    Arg arg;
    arg.type_ = kVornLogical;
    arg.value_ = value ? 1 : 0;
    return arg;
}

Arg Arg::real(double value) {
    Arg arg;
    arg.type_ = kVornDouble;
    std::memcpy(&arg.value_, &value, sizeof value);
    return arg;
}

Arg Arg::text(std::string value) {
    Arg arg;
    arg.type_ = kVornText;
    arg.text_ = std::move(value);
    return arg;
}

Arg Arg::block(ByteView value) {
    Arg arg;
    arg.type_ = kVornBlock;
    arg.block_ = block_with_header(value);
    return arg;
}

Arg Arg::block(const Block& value) {
    Arg arg;
    arg.type_ = kVornBlock;
    arg.value_ = value.address();
    return arg;
}

Arg Arg::control(Control value) {
    Arg arg;
    arg.type_ = value.class_id;
    arg.value_ = std::uint64_t(value.element) << 32 | value.window;
    return arg;
}

VornArg Arg::record() const {
    std::uint64_t value = value_;
    if (type_ == kVornText)
        value = reinterpret_cast<std::uintptr_t>(text_.c_str());
    else if (type_ == kVornBlock && !block_.empty())
        value = reinterpret_cast<std::uintptr_t>(block_.data());
    return VornArg{value, type_, 0};
}

// ---- Raw calls ----

std::uint64_t Runtime::kernel(KernelCommand command, std::initializer_list<Arg> args) const {
    std::vector<VornArg> records = records_of(args);
    const VornArgs block{std::uint32_t(records.size()), records.data()};
    return s_.call_kernel(std::uint32_t(command), &block);
}

std::uint64_t Runtime::library(LibraryIndex library, std::uint32_t selector,
                               std::initializer_list<Arg> args) const {
    std::vector<VornArg> records = records_of(args);
    const VornArgs block{std::uint32_t(records.size()), records.data()};
    return s_.call_library(std::uint32_t(library), selector, &block);
}

std::string Runtime::take_text(std::uint64_t address) const {
    auto* text = reinterpret_cast<char*>(std::uintptr_t(address));
    if (text == nullptr)
        return {};
    std::string value(text);
    s_.release(text);
    return value;
}

Bytes Runtime::take_block(std::uint64_t address) const {
    const Block block = adopt_block(address);
    return Bytes(block.view().begin(), block.view().end());
}

// ---- Properties ----

std::int64_t Runtime::integer(Control control, PropertyId property) const {
    return std::int64_t(s_.read_property(control.window, control.element, std::uint32_t(property), -1));
}

void Runtime::set_integer(Control control, PropertyId property, std::int64_t value) const {
    s_.write_property(control.window, control.element, std::uint32_t(property), -1, std::uint64_t(value));
}

std::string Runtime::text(Control control, PropertyId property) const {
    return take_text(s_.read_property(control.window, control.element, std::uint32_t(property), -1));
}

void Runtime::set_text(Control control, PropertyId property, std::string_view value) const {
    const std::string copy(value);
    s_.write_property(control.window, control.element, std::uint32_t(property), -1,
                      reinterpret_cast<std::uintptr_t>(copy.c_str()));
}

Bytes Runtime::bytes(Control control, PropertyId property) const {
    return take_block(s_.read_property(control.window, control.element, std::uint32_t(property), -1));
}

Block Runtime::block(Control control, PropertyId property) const {
    return adopt_block(s_.read_property(control.window, control.element, std::uint32_t(property), -1));
}

void Runtime::set_block(Control control, PropertyId property, const Block& value) const {
    s_.write_property(control.window, control.element, std::uint32_t(property), -1,
                      value.empty() ? 0 : value.address());
}

void Runtime::set_bytes(Control control, PropertyId property, ByteView value) const {
    const Bytes block = block_with_header(value);
    s_.write_property(control.window, control.element, std::uint32_t(property), -1,
                      value.empty() ? 0 : reinterpret_cast<std::uintptr_t>(block.data()));
}

std::string Runtime::font_name(Control control) const {
    return take_text(s_.read_property(control.window, control.element, std::uint32_t(PropertyId::font),
                                      std::int32_t(FontField::face_name)));
}

void Runtime::set_font_name(Control control, std::string_view name) const {
    const std::string copy(name);
    s_.write_property(control.window, control.element, std::uint32_t(PropertyId::font),
                      std::int32_t(FontField::face_name), reinterpret_cast<std::uintptr_t>(copy.c_str()));
}

std::int64_t Runtime::font_size(Control control) const {
    return std::int64_t(s_.read_property(control.window, control.element, std::uint32_t(PropertyId::font),
                                         std::int32_t(FontField::size)));
}

void Runtime::set_font_size(Control control, std::int64_t points) const {
    s_.write_property(control.window, control.element, std::uint32_t(PropertyId::font),
                      std::int32_t(FontField::size), std::uint64_t(points));
}

// ---- Windows ----

void Runtime::load_window(std::uint32_t window, std::uint32_t parent, bool modal) const {
    kernel(KernelCommand::LoadWindow, {Arg::integer(window), Arg::integer(parent), Arg::logical(modal)});
}

void Runtime::close_window(std::uint32_t window) const {
    kernel(KernelCommand::CloseWindow, {Arg::integer(window)});
}

bool Runtime::is_loaded(std::uint32_t window) const {
    return kernel(KernelCommand::IsWindowLoaded, {Arg::integer(window)}) != 0;
}

std::uint64_t Runtime::window_handle(Control control) const {
    return kernel(KernelCommand::WindowHandle, {Arg::control(control)});
}

void Runtime::give_focus(Control control) const {
    kernel(KernelCommand::GiveFocus, {Arg::control(control)});
}

void Runtime::move(Control control, std::optional<std::int64_t> left, std::optional<std::int64_t> top,
                   std::optional<std::int64_t> width, std::optional<std::int64_t> height) const {
    kernel(KernelCommand::MoveControl, {Arg::control(control), optional_integer(left), optional_integer(top),
                                        optional_integer(width), optional_integer(height)});
}

void Runtime::popup_menu(std::uint32_t window, std::uint32_t menu) const {
    kernel(KernelCommand::PopupMenu, {Arg::integer(window), Arg::integer(menu)});
}

void Runtime::window_command(Control control, std::int64_t command) const {
    kernel(KernelCommand::WindowCommand, {Arg::control(control), Arg::integer(command)});
}

int Runtime::message_box(std::string_view text, std::int64_t style,
                         std::optional<std::string_view> title) const {
    return int(kernel(KernelCommand::MessageBox, {Arg::text(std::string(text)), Arg::integer(style),
                                                  title ? Arg::text(std::string(*title)) : Arg::omitted()}));
}

// ---- Environment ----

std::string Runtime::run_directory() const {
    return take_text(kernel(KernelCommand::RunDirectory, {}));
}

std::string Runtime::program_file_name() const {
    return take_text(kernel(KernelCommand::ProgramFileName, {}));
}

std::int64_t Runtime::screen_width() const {
    return std::int64_t(kernel(KernelCommand::ScreenWidth, {}));
}

std::int64_t Runtime::screen_height() const {
    return std::int64_t(kernel(KernelCommand::ScreenHeight, {}));
}

void Runtime::wait(std::int64_t milliseconds) const {
    kernel(KernelCommand::Wait, {Arg::integer(milliseconds)});
}

Block Runtime::snapshot() const {
    return adopt_block(kernel(KernelCommand::ScreenSnapshot, {}));
}

Block Runtime::snapshot(std::uint64_t window_handle, std::int64_t width, std::int64_t height) const {
    return adopt_block(kernel(KernelCommand::ScreenSnapshot, {Arg::integer(std::int64_t(window_handle)),
                                                              Arg::integer(width), Arg::integer(height)}));
}

Bytes Runtime::program_constant(std::uint32_t offset) const {
    return take_block(kernel(KernelCommand::ProgramConstant, {Arg::integer(offset)}));
}

void Runtime::play_sound(ByteView wave) const {
    kernel(KernelCommand::PlaySound, {Arg::block(wave)});
}

std::string Runtime::read_setting(std::string_view file, std::string_view section, std::string_view key,
                                  std::optional<std::string_view> fallback) const {
    return take_text(
        kernel(KernelCommand::ReadSetting,
               {Arg::text(std::string(file)), Arg::text(std::string(section)), Arg::text(std::string(key)),
                fallback ? Arg::text(std::string(*fallback)) : Arg::omitted()}));
}

bool Runtime::write_setting(std::string_view file, std::string_view section, std::string_view key,
                            std::string_view value) const {
    return kernel(KernelCommand::WriteSetting,
                  {Arg::text(std::string(file)), Arg::text(std::string(section)), Arg::text(std::string(key)),
                   Arg::text(std::string(value))}) != 0;
}

contract::FileFailure Runtime::write_file(std::string_view path, ByteView bytes) const {
    return contract::FileFailure(
        kernel(KernelCommand::WriteFile, {Arg::text(std::string(path)), Arg::block(bytes)}));
}

contract::FileFailure Runtime::write_file(std::string_view path, const Block& bytes) const {
    return contract::FileFailure(
        kernel(KernelCommand::WriteFile, {Arg::text(std::string(path)), Arg::block(bytes)}));
}

std::int64_t Runtime::load_picture_data(const Block& picture) const {
    return std::int64_t(kernel(KernelCommand::LoadPictureData, {Arg::block(picture)}));
}

std::int64_t Runtime::picture_id_width(std::int64_t picture) const {
    return std::int64_t(kernel(KernelCommand::PictureIdSize, {Arg::integer(picture), Arg::integer(0)}));
}

std::int64_t Runtime::picture_id_height(std::int64_t picture) const {
    return std::int64_t(kernel(KernelCommand::PictureIdSize, {Arg::integer(picture), Arg::integer(1)}));
}

Bytes Runtime::read_file(std::string_view path) const {
    return take_block(kernel(KernelCommand::ReadFile, {Arg::text(std::string(path))}));
}

std::int64_t Runtime::load_picture_file(std::string_view path) const {
    return std::int64_t(kernel(KernelCommand::LoadPictureFile, {Arg::text(std::string(path))}));
}

// ---- Canvases ----

void Runtime::canvas_clear(Control canvas) const {
    kernel(KernelCommand::CanvasClear, {Arg::control(canvas)});
}

void Runtime::canvas_rectangle(Control canvas, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                               std::int64_t y2) const {
    kernel(KernelCommand::CanvasRectangle,
           {Arg::control(canvas), Arg::integer(x1), Arg::integer(y1), Arg::integer(x2), Arg::integer(y2)});
}

void Runtime::canvas_ellipse(Control canvas, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                             std::int64_t y2) const {
    kernel(KernelCommand::CanvasEllipse,
           {Arg::control(canvas), Arg::integer(x1), Arg::integer(y1), Arg::integer(x2), Arg::integer(y2)});
}

void Runtime::canvas_line(Control canvas, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                          std::int64_t y2) const {
    kernel(KernelCommand::CanvasLine,
           {Arg::control(canvas), Arg::integer(x1), Arg::integer(y1), Arg::integer(x2), Arg::integer(y2)});
}

void Runtime::canvas_polygon(Control canvas, const std::vector<std::int32_t>& points,
                             std::int64_t count) const {
    Bytes packed(points.size() * 4);
    for (std::size_t i = 0; i < points.size(); ++i)
        store_u32(packed.data() + 4 * i, std::uint32_t(points[i]));
    kernel(KernelCommand::CanvasPolygon, {Arg::control(canvas), Arg::block(packed), Arg::integer(count)});
}

void Runtime::canvas_copy(Control source, std::optional<std::int64_t> left, std::optional<std::int64_t> top,
                          std::optional<std::int64_t> width, std::optional<std::int64_t> height,
                          Control target, std::optional<std::int64_t> target_left,
                          std::optional<std::int64_t> target_top, std::optional<std::int64_t> mode) const {
    kernel(KernelCommand::CanvasCopy,
           {Arg::control(source), optional_integer(left), optional_integer(top), optional_integer(width),
            optional_integer(height), Arg::control(target), optional_integer(target_left),
            optional_integer(target_top), optional_integer(mode)});
}

Block Runtime::canvas_picture(Control canvas, std::optional<std::int64_t> width,
                              std::optional<std::int64_t> height) const {
    return adopt_block(kernel(KernelCommand::CanvasPicture,
                              {Arg::control(canvas), optional_integer(width), optional_integer(height)}));
}

void Runtime::canvas_write_text(Control canvas, std::int64_t x, std::int64_t y, std::string_view text) const {
    kernel(KernelCommand::CanvasWriteText,
           {Arg::control(canvas), Arg::integer(x), Arg::integer(y), Arg::text(std::string(text))});
}

std::int64_t Runtime::canvas_text_width(Control canvas, std::string_view text) const {
    return std::int64_t(
        kernel(KernelCommand::CanvasTextWidth, {Arg::control(canvas), Arg::text(std::string(text))}));
}

// ---- Objects, dialogs, printer ----

std::uint64_t Runtime::create_picture_object(ByteView picture) const {
    return kernel(KernelCommand::PictureCreate, {Arg::block(picture)});
}

std::uint64_t Runtime::create_picture_object(const Block& picture) const {
    return kernel(KernelCommand::PictureCreate, {Arg::block(picture)});
}

double Runtime::object_number(std::uint64_t object, std::string_view name) const {
    const std::uint64_t bits = kernel(KernelCommand::ObjectNumber,
                                      {Arg::integer(std::int64_t(object)), Arg::text(std::string(name))});
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void Runtime::release_object(std::uint64_t object) const {
    kernel(KernelCommand::ObjectRelease, {Arg::integer(std::int64_t(object))});
}

bool Runtime::open_file_dialog(Control dialog) const {
    return kernel(KernelCommand::OpenFileDialog, {Arg::control(dialog)}) != 0;
}

void Runtime::printer_draw_picture(Control printer, std::int64_t picture, std::int64_t left, std::int64_t top,
                                   std::int64_t width, std::int64_t height, std::int64_t mode) const {
    kernel(KernelCommand::PrinterDrawPicture,
           {Arg::control(printer), Arg::integer(picture), Arg::integer(left), Arg::integer(top),
            Arg::integer(width), Arg::integer(height), Arg::integer(mode)});
}

void Runtime::printer_end_job(Control printer, bool first, bool second, std::int64_t third,
                              std::int64_t fourth) const {
    kernel(KernelCommand::PrinterEndJob, {Arg::control(printer), Arg::logical(first), Arg::logical(second),
                                          Arg::integer(third), Arg::integer(fourth)});
}

// ---- Support libraries ----

void Runtime::input_device_enable(Control device, bool enable) const {
    library(LibraryIndex::EdirectX, lc::kInputDeviceEnable, {Arg::control(device), Arg::logical(enable)});
}

void Runtime::input_device_command(Control device, std::uint32_t selector, std::int64_t value) const {
    library(LibraryIndex::EdirectX, selector, {Arg::control(device), Arg::integer(value)});
}

std::vector<std::string> Runtime::process_names() const {
    const Bytes list = take_block(library(LibraryIndex::EApi, lc::kProcessNames, {}));
    std::vector<std::string> names;
    if (list.size() < 4)
        return names;
    const std::uint32_t count = load_u32(list.data());
    std::size_t at = 4;
    for (std::uint32_t i = 0; i < count && at < list.size(); ++i) {
        const auto* start = reinterpret_cast<const char*>(list.data() + at);
        const void* end = std::memchr(start, 0, list.size() - at);
        if (end == nullptr)
            break;
        names.emplace_back(start, static_cast<const char*>(end));
        at += names.back().size() + 1;
    }
    return names;
}

std::int64_t Runtime::picture_width(const Block& picture) const {
    return std::int64_t(kernel(KernelCommand::PictureSize, {Arg::block(picture), Arg::integer(0)}));
}

std::int64_t Runtime::picture_height(const Block& picture) const {
    return std::int64_t(kernel(KernelCommand::PictureSize, {Arg::block(picture), Arg::integer(1)}));
}

std::int64_t Runtime::picture_width(std::string_view path) const {
    return std::int64_t(library(LibraryIndex::EApi, lc::kPictureWidth, {Arg::text(std::string(path))}));
}

std::int64_t Runtime::picture_height(std::string_view path) const {
    return std::int64_t(library(LibraryIndex::EApi, lc::kPictureHeight, {Arg::text(std::string(path))}));
}

std::uint64_t Runtime::window_under_pointer() const {
    return library(LibraryIndex::EApi, lc::kWindowUnderPointer, {});
}

contract::FileFailure Runtime::convert_picture(std::string_view source, std::string_view target, bool first,
                                               std::int64_t quality, bool second, std::int64_t last) const {
    return contract::FileFailure(
        library(LibraryIndex::EImgConverter, lc::kConvertPicture,
                {Arg::text(std::string(source)), Arg::text(std::string(target)), Arg::logical(first),
                 Arg::integer(quality), Arg::logical(second), Arg::integer(last)}));
}

contract::FileFailure Runtime::convert_picture(const Block& source, std::string_view target, bool first,
                                               std::int64_t quality, bool second, std::int64_t last) const {
    return contract::FileFailure(
        library(LibraryIndex::EImgConverter, lc::kConvertPicture,
                {Arg::block(source), Arg::text(std::string(target)), Arg::logical(first),
                 Arg::integer(quality), Arg::logical(second), Arg::integer(last)}));
}

std::string Runtime::special_folder(std::int64_t folder) const {
    return take_text(library(LibraryIndex::Shell, lc::kSpecialFolder, {Arg::integer(folder)}));
}

bool Runtime::create_shortcut(std::string_view link, std::string_view target) const {
    return library(LibraryIndex::Shell, lc::kCreateShortcut,
                   {Arg::text(std::string(link)), Arg::text(std::string(target))}) != 0;
}

void Runtime::attach_tip(Control balloon, Control control, std::string_view text, std::int64_t style) const {
    library(
        LibraryIndex::Iext5, lc::kAttachTip,
        {Arg::control(balloon), Arg::control(control), Arg::text(std::string(text)), Arg::integer(style)});
}

// ---- DLL commands, lifecycle ----

std::uint64_t Runtime::call_dll(std::uint32_t index, std::initializer_list<std::uint64_t> args) const {
    const std::vector<std::uint64_t> values(args);
    return s_.call_dll(index, std::uint32_t(values.size()), values.data());
}

void Runtime::end_program(std::uint32_t code) const {
    s_.end_program(code);
    std::abort(); // the runtime's end never returns
}

void Runtime::report_error(std::uint32_t code) const {
    s_.report_error(code);
    std::abort(); // a run-time error ends the program
}

std::int64_t EventArgs::integer(std::size_t index) const {
    if (index >= args_.count || args_.args == nullptr)
        return 0;
    return std::int64_t(args_.args[index].value);
}

} // namespace vorn::facade
