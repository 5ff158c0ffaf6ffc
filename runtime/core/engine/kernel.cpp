// The runtime's own commands (service slot 3).
#include "runtime/core/engine/args.h"
#include "runtime/core/engine/engine.h"
#include "runtime/core/engine/errors.h"
#include "runtime/core/engine/files.h"
#include "runtime/core/picture/decode.h"
#include "runtime/core/settings/settings_file.h"

#include <cstring>

namespace vorn::runtime {

namespace {

using contract::KernelCommand;

std::uint64_t boundary_text(const std::string& text) {
    return reinterpret_cast<std::uintptr_t>(Engine::give_text(text));
}
std::uint64_t boundary_block(ByteView bytes) {
    return reinterpret_cast<std::uintptr_t>(Engine::give_block(bytes));
}

std::uint64_t boundary_double(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A binary constant of the loaded image: 32-bit 1, 32-bit length, the bytes.
// The program's handlers name their sounds and pictures by const offset, as
// image code would; an offset that does not lead to one is a broken contract.
ByteView program_constant(Engine& engine, std::int64_t offset) {
    const Bytes* constants = engine.program().loaded.find(image::SectionKind::Const);
    const std::size_t size = constants ? constants->size() : 0;
    auto fail = [&](const std::string& why) -> ByteView {
        engine.fatal(kContractError, "program constant at " + std::to_string(offset) + ": " + why);
    };
    if (offset < 0 || std::uint64_t(offset) + kVornBlockHeaderSize > size)
        return fail("outside the const section of " + std::to_string(size) + " bytes");
    const std::uint8_t* at = constants->data() + offset;
    const std::uint32_t length = load_u32(at + 4);
    if (load_u32(at) != kVornBlockMarker)
        return fail("not a binary constant");
    if (length > size - std::size_t(offset) - kVornBlockHeaderSize)
        return fail("its " + std::to_string(length) + " bytes run past the const section");
    return ByteView(*constants).subspan(std::size_t(offset) + kVornBlockHeaderSize, length);
}

// Resolves a control argument to its live window and element, or ends the
// program: a command on an element that is not there is a broken contract.
struct Resolved {
    LiveWindow& window;
    LiveElement& element;
};

Resolved resolve(Engine& engine, std::string_view command, ControlRef ref) {
    LiveWindow* window = engine.window(ref.window);
    LiveElement* element = window ? window->resolve(ref.element) : nullptr;
    if (element == nullptr)
        engine.fatal(kContractError, std::string(command) + ": element " + hex(ref.element) + " of window " +
                                         hex(ref.window) + " is not loaded");
    return {*window, *element};
}

Resolved resolve_canvas(Engine& engine, std::string_view command, ControlRef ref) {
    Resolved resolved = resolve(engine, command, ref);
    if (resolved.element.class_id != forms::class_id::canvas)
        engine.fatal(kContractError,
                     std::string(command) + ": element " + hex(ref.element) + " is not a canvas");
    return resolved;
}

void set_property(Engine& engine, ControlRef ref, PropertyId property, Value value) {
    if (Status written = engine.write_property(ref.window, ref.element, property, -1, std::move(value));
        !written)
        engine.fatal(kContractError, written.error().message);
}

void canvas_clear(Engine& engine, Resolved canvas) {
    std::optional<picture::Image> background;
    Bytes data = as_bytes(canvas.element.get(PropertyId::background_picture));
    if (!data.empty())
        if (auto decoded = picture::decode_picture(data))
            background = std::move(*decoded);
    engine.desktop()
        .canvas(canvas.window, canvas.element)
        .clear(std::uint32_t(canvas.element.integer(PropertyId::back_colour)),
               background ? &*background : nullptr);
}

void canvas_draw(Engine& engine, Resolved canvas, DrawKind kind, std::vector<std::int32_t> coords,
                 std::string text = {}) {
    DrawOp op;
    op.kind = kind;
    op.state = engine.draw_state(canvas.element);
    op.coords = std::move(coords);
    op.text = std::move(text);
    engine.desktop().canvas(canvas.window, canvas.element).draw(op);
}

std::vector<std::int32_t> box(const Args& args) {
    return {std::int32_t(args.integer(1)), std::int32_t(args.integer(2)), std::int32_t(args.integer(3)),
            std::int32_t(args.integer(4))};
}

std::uint64_t canvas_polygon(Engine& engine, const Args& args, Resolved canvas) {
    const ByteView points = args.block(1);
    const std::int64_t count = args.integer(2);
    if (count < 0 || std::uint64_t(count) * 8 > points.size())
        engine.fatal(kArrayIndexError, "canvas polygon: " + std::to_string(count) +
                                           " points but a block of " + std::to_string(points.size()) +
                                           " bytes");
    std::vector<std::int32_t> coords;
    for (std::int64_t i = 0; i < 2 * count; ++i)
        coords.push_back(std::int32_t(load_u32(points.data() + 4 * i)));
    canvas_draw(engine, canvas, DrawKind::polygon, std::move(coords));
    return 0;
}

std::uint64_t canvas_copy(Engine& engine, const Args& args) {
    Resolved source = resolve_canvas(engine, "canvas copy", args.control(0));
    Resolved target = resolve_canvas(engine, "canvas copy", args.control(5));
    picture::Image pixels = engine.desktop().canvas(source.window, source.element).pixels();
    const auto left = std::int32_t(args.integer(1, 0)), top = std::int32_t(args.integer(2, 0));
    const auto width = std::int32_t(args.integer(3, pixels.width)),
               height = std::int32_t(args.integer(4, pixels.height));
    picture::Image part = picture::crop(pixels, left, top, width, height);
    engine.desktop()
        .canvas(target.window, target.element)
        .paste(part, std::int32_t(args.integer(6, 0)), std::int32_t(args.integer(7, 0)),
               std::uint32_t(args.integer(8, kSourceCopy)));
    return 0;
}

std::uint64_t canvas_picture(Engine& engine, const Args& args, Resolved canvas) {
    picture::Image pixels = engine.desktop().canvas(canvas.window, canvas.element).pixels();
    // Omitted or non-positive sizes take the whole canvas.
    std::int64_t width = args.integer(1, 0), height = args.integer(2, 0);
    if (width <= 0)
        width = pixels.width;
    if (height <= 0)
        height = pixels.height;
    return boundary_block(
        picture::encode_bmp(picture::crop(pixels, 0, 0, std::int32_t(width), std::int32_t(height))));
}

std::uint64_t move_control(Engine& engine, const Args& args) {
    const ControlRef ref = args.control(0);
    resolve(engine, "move", ref);
    const PropertyId order[] = {PropertyId::left, PropertyId::top, PropertyId::width, PropertyId::height};
    for (std::size_t i = 0; i < 4; ++i)
        if (auto value = args.optional_integer(i + 1))
            set_property(engine, ref, order[i], *value);
    return 0;
}

std::uint64_t open_file_dialog(Engine& engine, const Args& args) {
    const ControlRef ref = args.control(0);
    Resolved dialog = resolve(engine, "open file dialog", ref);
    std::optional<std::string> chosen = engine.desktop().open_file_dialog(dialog.window, dialog.element);
    // A cancelled dialog leaves an empty file name, which is how callers tell.
    engine.update_from_user(ref.window, ref.element, PropertyId::file_name, chosen.value_or(std::string()));
    return chosen.has_value();
}

} // namespace

std::uint64_t Engine::call_kernel(std::uint32_t selector, const VornArgs& raw) {
    const contract::KernelCommandInfo* info = contract::find_kernel_command(selector);
    if (info == nullptr)
        fatal(kContractError, "no runtime command " + std::to_string(selector));
    const Args args(*this, info->name, raw, info->args);
    switch (info->command) {
    case KernelCommand::LoadWindow:
        if (Status loaded =
                load_window(std::uint32_t(args.integer(0)), std::uint32_t(args.integer(1)), args.logical(2));
            !loaded)
            fatal(kContractError, loaded.error().message);
        return 0;
    case KernelCommand::CloseWindow:
        close_window(std::uint32_t(args.integer(0)));
        return 0;
    case KernelCommand::IsWindowLoaded:
        return is_loaded(std::uint32_t(args.integer(0)));
    case KernelCommand::WindowHandle: {
        Resolved target = resolve(*this, info->name, args.control(0));
        return desktop_.native_handle(target.window, target.element);
    }
    case KernelCommand::GiveFocus: {
        Resolved target = resolve(*this, info->name, args.control(0));
        desktop_.give_focus(target.window, target.element);
        return 0;
    }
    case KernelCommand::MoveControl:
        return move_control(*this, args);
    case KernelCommand::PopupMenu: {
        Resolved menu = resolve(
            *this, info->name, ControlRef{std::uint32_t(args.integer(0)), std::uint32_t(args.integer(1)), 0});
        std::optional<Point> at;
        if (args.present(2) && args.present(3))
            at = Point{std::int32_t(args.integer(2)), std::int32_t(args.integer(3))};
        desktop_.popup_menu(menu.window, menu.element, at);
        return 0;
    }
    case KernelCommand::WindowCommand: {
        Resolved target = resolve(*this, info->name, args.control(0));
        desktop_.window_command(target.window, target.element, args.integer(1));
        return 0;
    }
    case KernelCommand::MessageBox:
        return std::uint64_t(
            desktop_.message_box(args.text(0), args.text(2), std::uint32_t(args.integer(1))));
    case KernelCommand::RunDirectory:
        return boundary_text(desktop_.run_directory());
    case KernelCommand::ProgramFileName:
        return boundary_text(desktop_.program_file_name());
    case KernelCommand::ScreenWidth:
        return std::uint64_t(std::int64_t(desktop_.screen_size().width));
    case KernelCommand::ScreenHeight:
        return std::uint64_t(std::int64_t(desktop_.screen_size().height));
    case KernelCommand::Wait:
        desktop_.wait(std::uint32_t(std::max<std::int64_t>(args.integer(0), 0)));
        return 0;
    case KernelCommand::ScreenSnapshot: {
        SnapshotRequest request;
        if (args.present(0))
            request.window = std::uint64_t(args.integer(0));
        if (auto width = args.optional_integer(1))
            request.width = std::int32_t(*width);
        if (auto height = args.optional_integer(2))
            request.height = std::int32_t(*height);
        return reinterpret_cast<std::uintptr_t>(desktop_.snapshot(request).hand_over());
    }
    case KernelCommand::PlaySound:
        desktop_.play_sound(args.block(0));
        return 0;
    case KernelCommand::ReadSetting:
        return boundary_text(
            settings::read_value(desktop_.host_path(args.text(0)), args.text(1), args.text(2), args.text(3)));
    case KernelCommand::WriteSetting:
        return settings::write_value(desktop_.host_path(args.text(0)), args.text(1), args.text(2),
                                     args.text(3))
            .ok();
    case KernelCommand::WriteFile:
        return write_whole_file(desktop_.host_path(args.text(0)), args.block(1)).ok();
    case KernelCommand::ReadFile: {
        Result<Bytes> content = read_whole_file(desktop_.host_path(args.text(0)));
        return content ? boundary_block(*content) : 0;
    }
    case KernelCommand::LoadPictureFile: {
        Result<Bytes> content = read_whole_file(desktop_.host_path(args.text(0)));
        if (!content)
            return 0;
        loaded_pictures_[next_picture_id_] = std::move(*content);
        return std::uint64_t(next_picture_id_++);
    }
    case KernelCommand::ProgramConstant:
        return boundary_block(program_constant(*this, args.integer(0)));
    case KernelCommand::CanvasClear:
        canvas_clear(*this, resolve_canvas(*this, info->name, args.control(0)));
        return 0;
    case KernelCommand::CanvasRectangle:
        canvas_draw(*this, resolve_canvas(*this, info->name, args.control(0)), DrawKind::rectangle,
                    box(args));
        return 0;
    case KernelCommand::CanvasEllipse:
        canvas_draw(*this, resolve_canvas(*this, info->name, args.control(0)), DrawKind::ellipse, box(args));
        return 0;
    case KernelCommand::CanvasLine:
        canvas_draw(*this, resolve_canvas(*this, info->name, args.control(0)), DrawKind::line, box(args));
        return 0;
    case KernelCommand::CanvasPolygon:
        return canvas_polygon(*this, args, resolve_canvas(*this, info->name, args.control(0)));
    case KernelCommand::CanvasCopy:
        return canvas_copy(*this, args);
    case KernelCommand::CanvasPicture:
        return canvas_picture(*this, args, resolve_canvas(*this, info->name, args.control(0)));
    case KernelCommand::CanvasWriteText:
        canvas_draw(*this, resolve_canvas(*this, info->name, args.control(0)), DrawKind::text,
                    {std::int32_t(args.integer(1)), std::int32_t(args.integer(2))}, args.text(3));
        return 0;
    case KernelCommand::CanvasTextWidth: {
        Resolved canvas = resolve_canvas(*this, info->name, args.control(0));
        return std::uint64_t(std::int64_t(desktop_.canvas(canvas.window, canvas.element)
                                              .text_width(args.text(1), draw_state(canvas.element).font)));
    }
    case KernelCommand::PictureCreate: {
        PictureObject object = desktop_.create_picture_object(args.block(0));
        return object.object == 0 ? 0 : remember_picture_object(object);
    }
    case KernelCommand::ObjectNumber:
        return boundary_double(picture_object_number(std::uint64_t(args.integer(0)), args.text(1)));
    case KernelCommand::ObjectRelease:
        release_picture_object(std::uint64_t(args.integer(0)));
        return 0;
    case KernelCommand::OpenFileDialog:
        return open_file_dialog(*this, args);
    case KernelCommand::PrinterDrawPicture: {
        Resolved printer = resolve(*this, info->name, args.control(0));
        auto picture = loaded_pictures_.find(args.integer(1));
        const Bytes none;
        desktop_.print_picture(printer.window, printer.element,
                               picture == loaded_pictures_.end() ? none : picture->second,
                               std::int32_t(args.integer(2)), std::int32_t(args.integer(3)),
                               std::int32_t(args.integer(4)), std::int32_t(args.integer(5)));
        return 0;
    }
    case KernelCommand::PrinterEndJob: {
        Resolved printer = resolve(*this, info->name, args.control(0));
        desktop_.end_print_job(printer.window, printer.element);
        return 0;
    }
    }
    return 0;
}

} // namespace vorn::runtime
