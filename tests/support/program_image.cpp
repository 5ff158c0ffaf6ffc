#include "tests/support/program_image.h"

#include "forms/writer.h"
#include "image/writer.h"
#include "tools/imagetool/assemble.h"

#include <stdexcept>

namespace vorn::testing {

namespace {

template <class T> T need(Result<T> result) {
    if (!result)
        throw std::runtime_error(result.error().message);
    return std::move(*result);
}

} // namespace

Bytes image_with_windows(const forms::FormSection& windows, std::uint32_t start_offset,
                         std::uint32_t code_size) {
    image::ImageParts parts = need(imagetool::product_image_parts());
    parts.form.stored = need(forms::write_forms(windows));
    parts.code.stored.assign(code_size, 0xCC);
    parts.code.memory_size.reset();
    parts.fixups.clear();
    parts.groups = {};
    parts.reloc_declared_size.reset();
    parts.start_routine = start_offset;
    return need(image::write_image(parts));
}

std::unique_ptr<runtime::Program> load_test_program(const forms::FormSection& windows,
                                                    std::uint32_t start_offset, std::uint32_t code_size) {
    return need(runtime::load_program(image_with_windows(windows, start_offset, code_size)));
}

} // namespace vorn::testing
