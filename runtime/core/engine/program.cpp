#include "runtime/core/engine/engine.h"

#include "forms/reader.h"
#include "image/reader.h"

namespace vorn::runtime {

namespace {

// Nothing executes the code section, so its operands need no real addresses.
// Each block gets its own region of a 32-bit space instead: a fixed-up operand
// still tells which block it points into and where, and loading is
// deterministic.
constexpr image::LoadBases kOperandBases = {0x10000000, 0x20000000, 0x30000000, 0x40000000};

} // namespace

Result<std::unique_ptr<Program>> load_program(ByteView image_bytes) {
    auto program = std::make_unique<Program>();
    // The image is read from a copy of its own extent: views into it must stay
    // valid however long the caller's buffer lives.
    VORN_TRY_ASSIGN(image::Image probe, image::read_image(image_bytes));
    program->bytes.assign(image_bytes.begin(), image_bytes.begin() + std::ptrdiff_t(probe.extent));
    VORN_TRY_ASSIGN(program->image, image::read_image(program->bytes));
    image::LoadOptions options;
    options.bases = kOperandBases;
    VORN_TRY_ASSIGN(program->loaded, image::load_image(program->image, options));
    const image::Section& form = program->image.section(image::SectionKind::Form);
    VORN_TRY_ASSIGN(program->forms, forms::read_forms(form.stored, form.stored_offset));
    return program;
}

} // namespace vorn::runtime
