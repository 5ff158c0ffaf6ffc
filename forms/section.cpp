#include "forms/section.h"

#include <utility>

namespace vorn::forms {

std::optional<std::uint32_t> cursor_of(const ControlRecord& control) {
    if (control.cursor_block.size() != 4)
        return std::nullopt;
    return load_u32(control.cursor_block.data());
}

void set_cursor(ControlRecord& control, std::uint32_t cursor) {
    control.cursor_block.assign(4, 0);
    store_u32(control.cursor_block.data(), cursor);
}

const Window* find_window(const FormSection& section, std::uint32_t window_id) {
    for (const Window& window : section.windows)
        if (window.id == window_id)
            return &window;
    return nullptr;
}

const Element* find_element(const FormSection& section, std::uint32_t window_id, std::uint32_t element_id) {
    const Window* window = find_window(section, window_id);
    if (window == nullptr)
        return nullptr;
    for (const Element& element : window->elements)
        if (element.id == element_id)
            return &element;
    return nullptr;
}

Element* find_element(FormSection& section, std::uint32_t window_id, std::uint32_t element_id) {
    return const_cast<Element*>(find_element(std::as_const(section), window_id, element_id));
}

Result<const Element*> lookup_element(const FormSection& section, std::uint32_t window_id,
                                      std::uint32_t element_id) {
    if (find_window(section, window_id) == nullptr)
        return Error{"no window " + hex(window_id) + " in the form section"};
    const Element* element = find_element(section, window_id, element_id);
    if (element == nullptr)
        return Error{"window " + hex(window_id) + " has no element " + hex(element_id)};
    return element;
}

std::string describe_window(std::size_t index, std::uint32_t id) {
    return "window " + std::to_string(index) + " (" + hex(id) + ")";
}

std::string describe_element(std::size_t index, std::uint32_t id) {
    return "element " + std::to_string(index) + " (" + hex(id) + ")";
}

} // namespace vorn::forms
