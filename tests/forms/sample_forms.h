// Definitions for the forms tests and the fuzz seeds: windows modelled on the
// product's own, covering every class, both window block versions, menu items
// with and without a handler, containers, negative events and empty blocks.
#pragma once

#include "base/bytes.h"
#include "forms/class_block.h"
#include "forms/section.h"

#include <initializer_list>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorn::forms::testing {

// UTF-8 source text to the GBK bytes that definitions store.
std::string gbk(std::string_view utf8);

// A block of `class_id` (newest version unless given) with the listed
// properties set; kept fields are set by label.
ClassBlock make_block(std::uint32_t class_id,
                      std::initializer_list<std::pair<PropertyId, FieldValue>> properties,
                      std::initializer_list<std::pair<std::string_view, FieldValue>> kept = {},
                      std::uint32_t version = 0);
Bytes encode(const ClassBlock& block);

struct ControlSpec {
    std::uint32_t id;
    std::string_view name; // UTF-8
    std::uint32_t class_id;
    std::int32_t left, top, width, height;
    std::uint32_t flags = element_flag::visible;
    std::uint32_t cursor = cursor_id::arrow;
    std::vector<EventBinding> events = {};
    std::uint32_t parent = 0;
};
Element make_control(const ControlSpec& spec, Bytes block = {});
Element make_menu_item(std::uint32_t id, std::uint32_t level, std::string_view caption,
                       std::uint32_t handler);
// Fills every container's child list from its children's parent fields.
void link_children(Window& window);

// Three windows: a main window (block version 6) with picture buttons, a
// balloon tip, a printer, labels with and without a font inside a shape box,
// timers, an edit box, a file dialog, a push button, an input device, a picture
// box and a popup menu; an overlay (version 5) with canvases and a dialog; an
// editing window with pickers, edit boxes, graphic buttons, check boxes and a
// transparent label.
FormSection sample_forms();
// Every handler offset that sample_forms binds.
std::set<std::uint32_t> sample_handlers();

// Small sections for the fuzzer's seed corpus, named by file.
std::vector<std::pair<std::string, Bytes>> seed_sections();

} // namespace vorn::forms::testing
