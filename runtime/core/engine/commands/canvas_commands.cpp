// Canvases: every command works on the canvas's retained surface in the
// backend, with the drawing state the canvas's properties hold at that
// moment.
#include "runtime/core/engine/commands/boundary.h"
#include "runtime/core/engine/commands/command_table.h"
#include "runtime/core/engine/engine.h"
#include "runtime/core/engine/errors.h"
#include "runtime/core/engine/raster.h"

#include <array>

namespace vorn::runtime {

namespace {

using K = contract::KernelCommand;

CanvasSurface& surface(Engine& engine, const Args& args, std::size_t index, std::string_view command) {
    const ControlRef ref = args.control(index);
    Engine::Element found = engine.element(ref.window, ref.element, command);
    if (found.element.class_id != forms::class_id::canvas)
        engine.fatal(kContractError,
                     std::string(command) + ": element " + hex(ref.element) + " is not a canvas");
    return engine.desktop().canvas(found.window, found.element);
}

const LiveElement& canvas_element(Engine& engine, const Args& args) {
    const ControlRef ref = args.control(0);
    return engine.element(ref.window, ref.element, "canvas").element;
}

void draw(Engine& engine, const Args& args, DrawKind kind, std::vector<std::int32_t> coords,
          std::string text = {}) {
    CanvasSurface& canvas = surface(engine, args, 0, "canvas draw");
    DrawOp op;
    op.kind = kind;
    op.state = engine.draw_state(canvas_element(engine, args));
    op.coords = std::move(coords);
    op.text = std::move(text);
    canvas.draw(op);
}

std::vector<std::int32_t> box(const Args& args) {
    return {std::int32_t(args.integer(1)), std::int32_t(args.integer(2)), std::int32_t(args.integer(3)),
            std::int32_t(args.integer(4))};
}

std::uint64_t clear(Engine& engine, const Args& args) {
    CanvasSurface& canvas = surface(engine, args, 0, "canvas clear");
    canvas.clear(std::uint32_t(canvas_element(engine, args).integer(PropertyId::back_colour)));
    return 0;
}

std::uint64_t rectangle(Engine& engine, const Args& args) {
    draw(engine, args, DrawKind::rectangle, box(args));
    return 0;
}

std::uint64_t ellipse(Engine& engine, const Args& args) {
    draw(engine, args, DrawKind::ellipse, box(args));
    return 0;
}

std::uint64_t line(Engine& engine, const Args& args) {
    draw(engine, args, DrawKind::line, box(args));
    return 0;
}

std::uint64_t polygon(Engine& engine, const Args& args) {
    const ByteView points = args.block(1);
    const std::int64_t count = args.integer(2);
    if (count < 0 || std::uint64_t(count) * 8 > points.size())
        engine.fatal(kArrayIndexError, "canvas polygon: " + std::to_string(count) +
                                           " points but a block of " + std::to_string(points.size()) +
                                           " bytes");
    std::vector<std::int32_t> coords;
    coords.reserve(std::size_t(2 * count));
    for (std::int64_t i = 0; i < 2 * count; ++i)
        coords.push_back(std::int32_t(load_u32(points.data() + 4 * i)));
    draw(engine, args, DrawKind::polygon, std::move(coords));
    return 0;
}

// Omitted position and size copy the whole source to the target's origin;
// an omitted mode copies plainly.
std::uint64_t copy(Engine& engine, const Args& args) {
    CanvasSurface& source = surface(engine, args, 0, "canvas copy");
    CanvasSurface& target = surface(engine, args, 5, "canvas copy");
    const CopyRect area{std::int32_t(args.integer(1, 0)), std::int32_t(args.integer(2, 0)),
                        std::int32_t(args.integer(3, source.width())),
                        std::int32_t(args.integer(4, source.height()))};
    target.copy_from(source, area, std::int32_t(args.integer(6, 0)), std::int32_t(args.integer(7, 0)),
                     std::uint32_t(args.integer(8, kSourceCopy)));
    return 0;
}

// Omitted or non-positive sizes take the whole canvas.
std::uint64_t picture(Engine& engine, const Args& args) {
    CanvasSurface& canvas = surface(engine, args, 0, "canvas picture");
    std::int64_t width = args.integer(1, 0), height = args.integer(2, 0);
    if (width <= 0)
        width = canvas.width();
    if (height <= 0)
        height = canvas.height();
    return boundary_block(canvas.picture(std::int32_t(std::min<std::int64_t>(width, canvas.width())),
                                         std::int32_t(std::min<std::int64_t>(height, canvas.height()))));
}

std::uint64_t write_text(Engine& engine, const Args& args) {
    draw(engine, args, DrawKind::text, {std::int32_t(args.integer(1)), std::int32_t(args.integer(2))},
         args.text(3));
    return 0;
}

std::uint64_t text_width(Engine& engine, const Args& args) {
    CanvasSurface& canvas = surface(engine, args, 0, "canvas text width");
    return boundary_integer(
        canvas.text_width(args.text(1), engine.draw_state(canvas_element(engine, args)).font));
}

constexpr std::array kKernel = {
    KernelHandler{K::CanvasClear, clear},          KernelHandler{K::CanvasRectangle, rectangle},
    KernelHandler{K::CanvasEllipse, ellipse},      KernelHandler{K::CanvasLine, line},
    KernelHandler{K::CanvasPolygon, polygon},      KernelHandler{K::CanvasCopy, copy},
    KernelHandler{K::CanvasPicture, picture},      KernelHandler{K::CanvasWriteText, write_text},
    KernelHandler{K::CanvasTextWidth, text_width},
};

} // namespace

std::span<const KernelHandler> canvas_commands() {
    return kKernel;
}

} // namespace vorn::runtime
