#include "tests/layouts/built_image.h"

#include "forms/reader.h"
#include "image/reader.h"
#include "image/writer.h"
#include "text/gbk.h"
#include "tools/imagetool/assemble.h"

#include <memory>
#include <stdexcept>

namespace vorn::testing {

namespace {

template <class T> T need(Result<T> result, const char* what) {
    if (!result)
        throw std::runtime_error(std::string(what) + ": " + result.error().message);
    return std::move(result).value();
}

std::unique_ptr<BuiltImage> build() {
    auto built = std::make_unique<BuiltImage>();
    imagetool::ProductImage product = need(imagetool::product_image(), "assembling the image");
    built->bytes = need(image::write_image(product.parts), "writing the image");
    built->image = need(image::read_image(built->bytes), "reading the image back");
    const image::Section& form = built->image.section(image::SectionKind::Form);
    built->windows = need(forms::read_forms(form.stored, form.stored_offset), "reading the windows back");
    built->text_offsets = std::move(product.text_offsets);
    built->sound_offset = product.sound_offset;
    return built;
}

} // namespace

const BuiltImage& built_image() {
    static const std::unique_ptr<BuiltImage> built = build();
    return *built;
}

std::string gbk(std::string_view utf8) {
    return text::utf8_to_gbk(utf8);
}

std::string utf8(std::string_view gbk) {
    return text::gbk_to_utf8(gbk);
}

} // namespace vorn::testing
