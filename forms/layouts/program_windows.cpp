#include "forms/layouts/program_windows.h"

#include "forms/class_block.h"
#include "text/gbk.h"

#include <algorithm>
#include <array>
#include <functional>

namespace vorn::layouts {

namespace {

Result<forms::FieldValue> field_value(const FieldSetting& setting, const PictureSource& pictures,
                                      const std::string& what) {
    switch (setting.kind) {
    case FieldSetting::Kind::number:
        return forms::FieldValue(setting.number);
    case FieldSetting::Kind::text: {
        VORN_TRY_ASSIGN(std::string gbk, to_gbk(setting.text, what));
        return forms::FieldValue(std::move(gbk));
    }
    case FieldSetting::Kind::list:
        return forms::FieldValue(std::vector<std::uint32_t>(setting.list.begin(), setting.list.end()));
    case FieldSetting::Kind::picture: {
        if (setting.picture == Picture::none)
            return Error{what + ": the picture setting names no picture"};
        VORN_TRY_ASSIGN(Bytes bytes, pictures(setting.picture));
        return forms::FieldValue(std::move(bytes));
    }
    case FieldSetting::Kind::font: {
        forms::Font font; // weight 400, GB2312, no face: the charset's default face
        font.height = setting.font_height;
        return forms::FieldValue(std::optional<forms::Font>(font));
    }
    }
    return Error{what + ": unknown kind of setting"};
}

Result<Bytes> class_block(std::uint32_t class_id, const BlockSpec& spec, const PictureSource& pictures,
                          const std::string& what) {
    VORN_TRY_ASSIGN(forms::ClassBlock block, forms::default_class_block(class_id, spec.version));
    for (const FieldSetting& setting : spec.fields.items()) {
        const bool by_label = setting.property == forms::PropertyId::none;
        const std::string field =
            what + " " +
            (by_label ? std::string(setting.kept_label) : std::string(property_name(setting.property)));
        VORN_TRY_ASSIGN(forms::FieldValue value, field_value(setting, pictures, field));
        Status status = by_label ? block.set_kept(setting.kept_label, std::move(value))
                                 : block.set(setting.property, std::move(value));
        if (!status)
            return Error{field + ": " + status.error().message};
    }
    return forms::encode_class_block(block);
}

Result<forms::Element> control_element(const ElementSpec& spec, std::string_view name,
                                       const PictureSource& pictures, const std::string& what) {
    forms::Element element;
    element.id = spec.ref.element;
    element.class_id = spec.ref.class_id;
    VORN_TRY_ASSIGN(element.name, to_gbk(name, what + " name"));
    forms::ControlRecord record;
    record.left = spec.at.left;
    record.top = spec.at.top;
    record.width = spec.at.width;
    record.height = spec.at.height;
    record.parent = spec.parent;
    forms::set_cursor(record, spec.cursor);
    record.flags = spec.flags;
    for (const Binding& binding : spec.events.items())
        record.events.push_back({binding.event, offset_of(binding.entry)});
    VORN_TRY_ASSIGN(record.class_block, class_block(spec.ref.class_id, spec.block, pictures, what));
    element.record = std::move(record);
    return element;
}

Result<forms::Element> menu_element(const MenuItemSpec& spec, const std::string& what) {
    forms::Element element;
    element.id = spec.ref.element;
    element.class_id = spec.ref.class_id;
    forms::MenuItemRecord record;
    record.level = spec.level;
    // The runtime's own marker of a menu that opens a list of items.
    record.menu_value = spec.level == 0 ? 1 : 0;
    VORN_TRY_ASSIGN(record.caption, to_gbk(spec.caption, what + " caption"));
    record.click_handler = spec.click ? offset_of(*spec.click) : forms::kNoHandler;
    element.record = std::move(record);
    return element;
}

// A container lists the controls it holds, newest (highest sequence number)
// first: that is the order in which they were placed on top of each other.
void link_children(forms::Window& window) {
    for (forms::Element& container : window.elements) {
        forms::ControlRecord* record = container.control();
        if (record == nullptr)
            continue;
        record->children.clear();
        for (const forms::Element& element : window.elements)
            if (const forms::ControlRecord* child = element.control(); child && child->parent == container.id)
                record->children.push_back(element.id);
        std::sort(record->children.begin(), record->children.end(), std::greater<>());
    }
}

} // namespace

std::span<const WindowSpec* const> window_layouts() {
    static const std::array<const WindowSpec*, 6> layouts = {
        &main_window_layout(),   &region_overlay_layout(), &highlight_frame_layout(),
        &enlarged_view_layout(), &editing_window_layout(), &settings_window_layout(),
    };
    return layouts;
}

Result<std::string> to_gbk(std::string_view utf8, std::string_view what) {
    std::string gbk = text::utf8_to_gbk(utf8);
    if (text::gbk_to_utf8(gbk) != utf8)
        return Error{std::string(what) + " \"" + std::string(utf8) +
                     "\" has characters that GBK cannot hold"};
    return gbk;
}

Result<forms::Window> build_window(const WindowSpec& spec, const PictureSource& pictures) {
    forms::Window window;
    window.id = spec.own.ref.window;
    window.unit_id = spec.unit_id;
    // Loading ignores this value and the directory's; the unit carries its
    // own id's sequence number and the directory the window's place, so that
    // a dump of damaged data still tells the units apart.
    window.unit_value = spec.unit_id & 0xFFFF;
    const std::string where = "window " + hex(window.id);

    VORN_TRY_ASSIGN(forms::Element own, control_element(spec.own, "", pictures, where + " own element"));
    window.elements.push_back(std::move(own));
    for (const ElementSpec& element : spec.elements) {
        const std::string what = where + ", element " + hex(element.ref.element);
        if (element.ref.window != window.id)
            return Error{what + " is addressed through window " + hex(element.ref.window)};
        auto named = std::find_if(spec.names.begin(), spec.names.end(), [&](const ui::NamedElement& known) {
            return known.ref.element == element.ref.element;
        });
        if (named == spec.names.end())
            return Error{what + " has no name among the element references"};
        VORN_TRY_ASSIGN(forms::Element built, control_element(element, named->name, pictures, what));
        window.elements.push_back(std::move(built));
    }
    for (const MenuItemSpec& item : spec.menu) {
        VORN_TRY_ASSIGN(forms::Element built,
                        menu_element(item, where + ", menu item " + hex(item.ref.element)));
        window.elements.push_back(std::move(built));
    }
    link_children(window);
    return window;
}

Result<forms::FormSection> program_windows(const PictureSource& pictures) {
    forms::FormSection section;
    for (const WindowSpec* spec : window_layouts()) {
        VORN_TRY_ASSIGN(forms::Window window, build_window(*spec, pictures));
        window.directory_value = static_cast<std::uint32_t>(section.windows.size() + 1);
        section.windows.push_back(std::move(window));
    }
    VORN_TRY_STATUS(forms::validate_forms(section, write_rules()));
    return section;
}

forms::WriteRules write_rules() {
    forms::WriteRules rules;
    rules.known_handler = [](std::uint32_t offset) { return find_entry(offset) != nullptr; };
    return rules;
}

} // namespace vorn::layouts
