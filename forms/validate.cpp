#include "forms/class_block.h"
#include "forms/class_table.h"
#include "forms/writer.h"

#include <algorithm>
#include <set>

namespace vorn::forms {
namespace {

std::string kind_name(std::uint32_t id) {
    return "kind " + hex(id >> 24);
}

Error element_error(std::size_t w, const Window& window, std::size_t e, const Element& element,
                    const std::string& message) {
    return Error{describe_window(w, window.id) + ", " + describe_element(e, element.id) + ": " + message};
}

const Element* element_in(const Window& window, std::uint32_t id) {
    for (const Element& element : window.elements)
        if (element.id == id)
            return &element;
    return nullptr;
}

// The place of an element decides its id kind and, for the first, its class.
Status check_kind(std::size_t w, const Window& window, std::size_t e, const Element& element) {
    auto fail = [&](const std::string& message) { return element_error(w, window, e, element, message); };
    if (e == 0) {
        if (!has_kind(element.id, IdKind::own_element))
            return fail("the first element must be the window's own element (kind 0x06), not " +
                        kind_name(element.id));
        if (element.class_id != class_id::window)
            return fail("the window's own element has class " + hex(element.class_id) +
                        ", not the window class");
        return ok_status();
    }
    if (element.class_id == class_id::window)
        return fail("only the first element of a unit may be of the window class");
    const IdKind expected = element.is_menu_item() ? IdKind::menu_item : IdKind::control;
    if (!has_kind(element.id, expected))
        return fail(std::string(element.is_menu_item() ? "a menu item" : "a control") +
                    " must have an id of kind " + hex(std::uint32_t(expected)) + ", not " +
                    kind_name(element.id));
    return ok_status();
}

Status check_containers(std::size_t w, const Window& window, std::size_t e, const Element& element) {
    auto fail = [&](const std::string& message) { return element_error(w, window, e, element, message); };
    const ControlRecord* control = element.control();
    if (control == nullptr)
        return ok_status();
    if (!cursor_of(*control))
        return fail("cursor block of " + std::to_string(control->cursor_block.size()) + " bytes, expected 4");
    if (control->parent != 0) {
        const Element* parent = element_in(window, control->parent);
        if (parent == nullptr || parent->control() == nullptr || parent == &window.elements.front())
            return fail("parent " + hex(control->parent) + " is not a control of this window");
        const auto& siblings = parent->control()->children;
        if (std::find(siblings.begin(), siblings.end(), element.id) == siblings.end())
            return fail("parent " + hex(control->parent) + " does not list it among its children");
    }
    std::set<std::uint32_t> seen;
    for (std::uint32_t child_id : control->children) {
        if (!seen.insert(child_id).second)
            return fail("lists child " + hex(child_id) + " twice");
        const Element* child = element_in(window, child_id);
        if (child == nullptr || child->control() == nullptr)
            return fail("lists child " + hex(child_id) + ", which is not a control of this window");
        if (child->control()->parent != element.id)
            return fail("lists child " + hex(child_id) + ", whose parent is " +
                        hex(child->control()->parent));
    }
    return ok_status();
}

Status check_menu(std::size_t w, const Window& window, std::size_t e, const Element& element,
                  bool& menu_open) {
    const MenuItemRecord* item = element.menu_item();
    if (item == nullptr)
        return ok_status();
    if (item->level > 1)
        return element_error(w, window, e, element,
                             "menu level " + std::to_string(item->level) + " (0 or 1)");
    if (item->level == 1 && !menu_open)
        return element_error(w, window, e, element, "menu item of level 1 without a level-0 menu before it");
    menu_open = true;
    return ok_status();
}

Status check_bindings(std::size_t w, const Window& window, std::size_t e, const Element& element,
                      const WriteRules& rules) {
    auto fail = [&](const std::string& message) { return element_error(w, window, e, element, message); };
    auto known = [&](std::uint32_t handler) { return !rules.known_handler || rules.known_handler(handler); };
    if (const MenuItemRecord* item = element.menu_item()) {
        if (item->click_handler != kNoHandler && !known(item->click_handler))
            return fail("click handler " + hex(item->click_handler) + " is not a known handler");
        return ok_status();
    }
    const ClassInfo* info = find_class(element.class_id);
    std::set<std::int32_t> seen;
    for (const EventBinding& binding : element.control()->events) {
        if (!seen.insert(binding.event).second && rules.check_structure)
            return fail("event " + std::to_string(binding.event) + " is bound twice");
        if (info != nullptr && !rules.allow_unlisted_events && find_event(*info, binding.event) == nullptr)
            return fail("a " + std::string(info->tag) + " has no event " + std::to_string(binding.event));
        if (!known(binding.handler))
            return fail("event " + std::to_string(binding.event) + " is bound to " + hex(binding.handler) +
                        ", which is not a known handler");
    }
    return ok_status();
}

Status check_class(std::size_t w, const Window& window, std::size_t e, const Element& element,
                   const WriteRules& rules) {
    const ClassInfo* info = find_class(element.class_id);
    if (info == nullptr) {
        if (rules.allow_unknown_classes)
            return ok_status();
        return element_error(w, window, e, element, "class " + hex(element.class_id) + " is not known");
    }
    if (rules.check_class_blocks && element.control() != nullptr)
        return check_class_block(element.class_id, element.control()->class_block,
                                 describe_window(w, window.id) + ", " + describe_element(e, element.id) +
                                     ", class block");
    return ok_status();
}

Status check_window(std::size_t w, const Window& window, const WriteRules& rules) {
    if (rules.check_structure) {
        if (!has_kind(window.id, IdKind::window))
            return Error{describe_window(w, window.id) + ": a window id must be of kind 0x52, not " +
                         kind_name(window.id)};
        if (!has_kind(window.unit_id, IdKind::unit))
            return Error{describe_window(w, window.id) + ": unit id " + hex(window.unit_id) +
                         " must be of kind 0x19"};
        if (window.elements.empty())
            return Error{describe_window(w, window.id) + ": a window needs its own element"};
    }
    std::set<std::uint32_t> ids;
    bool menu_open = false;
    for (std::size_t e = 0; e < window.elements.size(); ++e) {
        const Element& element = window.elements[e];
        if (rules.check_structure) {
            if (!ids.insert(element.id).second)
                return element_error(w, window, e, element, "the id is used twice in this window");
            VORN_TRY_STATUS(check_kind(w, window, e, element));
            VORN_TRY_STATUS(check_containers(w, window, e, element));
            VORN_TRY_STATUS(check_menu(w, window, e, element, menu_open));
        }
        VORN_TRY_STATUS(check_bindings(w, window, e, element, rules));
        VORN_TRY_STATUS(check_class(w, window, e, element, rules));
    }
    return ok_status();
}

} // namespace

WriteRules WriteRules::exact_copy() {
    WriteRules rules;
    rules.check_structure = false;
    rules.check_class_blocks = false;
    rules.allow_unknown_classes = true;
    rules.allow_unlisted_events = true;
    return rules;
}

Status validate_forms(const FormSection& forms, const WriteRules& rules) {
    std::set<std::uint32_t> window_ids;
    for (std::size_t w = 0; w < forms.windows.size(); ++w) {
        const Window& window = forms.windows[w];
        if (rules.check_structure && !window_ids.insert(window.id).second)
            return Error{describe_window(w, window.id) + ": the window id is used twice"};
        VORN_TRY_STATUS(check_window(w, window, rules));
    }
    return ok_status();
}

} // namespace vorn::forms
