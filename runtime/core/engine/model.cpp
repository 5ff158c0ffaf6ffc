#include "runtime/core/engine/model.h"

#include "forms/class_block.h"
#include "forms/ids.h"

#include <algorithm>

namespace vorn::runtime {

namespace {

const Value kNoValue{};

Value field_value(const forms::FieldValue& field) {
    if (const auto* number = std::get_if<std::uint32_t>(&field))
        return std::int64_t(*number);
    if (const auto* text = std::get_if<std::string>(&field))
        return *text;
    if (const auto* bytes = std::get_if<Bytes>(&field))
        return *bytes;
    if (const auto* font = std::get_if<std::optional<forms::Font>>(&field))
        return *font ? Value(**font) : Value();
    return {};
}

// Colours are unsigned 32-bit values; integers that may be negative are signed.
Value typed_value(forms::PropertyId property, const Value& value) {
    const forms::PropertyInfo* info = forms::property_info(property);
    if (info != nullptr && info->kind == forms::PropertyKind::integer)
        if (const auto* number = std::get_if<std::int64_t>(&value))
            return std::int64_t(std::int32_t(std::uint32_t(*number)));
    return value;
}

Value runtime_default(forms::PropertyId property) {
    switch (forms::property_info(property)->kind) {
    case forms::PropertyKind::text:
        return std::string();
    case forms::PropertyKind::bytes:
        return Bytes();
    case forms::PropertyKind::font:
        return {};
    case forms::PropertyKind::colour:
        return std::int64_t(property == PropertyId::text_colour ? 0 : forms::kDefaultColour);
    default:
        return std::int64_t(0);
    }
}

void set_record_properties(LiveElement& element, const forms::ControlRecord& record) {
    element.properties[PropertyId::left] = std::int64_t(record.left);
    element.properties[PropertyId::top] = std::int64_t(record.top);
    element.properties[PropertyId::width] = std::int64_t(record.width);
    element.properties[PropertyId::height] = std::int64_t(record.height);
    element.properties[PropertyId::visible] =
        std::int64_t((record.flags & forms::element_flag::visible) != 0);
    element.properties[PropertyId::focusable] =
        std::int64_t((record.flags & forms::element_flag::focusable) != 0);
    element.properties[PropertyId::cursor] =
        std::int64_t(forms::cursor_of(record).value_or(forms::cursor_id::arrow));
}

Status set_block_properties(LiveElement& element, const forms::ControlRecord& record,
                            const std::string& context) {
    VORN_TRY_ASSIGN(forms::ClassBlock block,
                    forms::decode_class_block(element.class_id, record.class_block, context));
    if (block.empty()) {
        VORN_TRY_ASSIGN(forms::ClassBlock defaults, forms::default_class_block(element.class_id));
        block = std::move(defaults);
    }
    const std::uint32_t version = block.version;
    std::size_t at = 0;
    for (const forms::FieldSpec& field : element.info->fields) {
        if (!forms::field_present(field, version))
            continue;
        if (at >= block.fields.size())
            break;
        if (field.property != PropertyId::none)
            element.properties[field.property] = typed_value(field.property, field_value(block.fields[at]));
        ++at;
    }
    return ok_status();
}

Result<LiveElement> create_element(const forms::Window& window, const forms::Element& definition) {
    LiveElement element;
    element.id = definition.id;
    element.class_id = definition.class_id;
    element.definition = &definition;
    element.info = forms::find_class(definition.class_id);
    const std::string context = "window " + hex(window.id) + ", element " + hex(definition.id);
    if (const auto* item = definition.menu_item()) {
        element.properties[PropertyId::text] = item->caption;
        element.properties[PropertyId::visible] = std::int64_t(1);
        return element;
    }
    set_record_properties(element, *definition.control());
    if (element.info == nullptr)
        return element; // an unknown class keeps only its record properties
    if (!element.info->versions.empty() || !definition.control()->class_block.empty())
        VORN_TRY_STATUS(set_block_properties(element, *definition.control(), context));
    for (PropertyId property : element.info->runtime_properties)
        if (!element.has(property))
            element.properties[property] = runtime_default(property);
    return element;
}

} // namespace

std::int64_t as_integer(const Value& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return *number;
    return 0;
}

std::string as_text(const Value& value) {
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    return {};
}

Bytes as_bytes(const Value& value) {
    const ByteView bytes = bytes_view(value);
    return Bytes(bytes.begin(), bytes.end());
}

ByteView bytes_view(const Value& value) {
    if (const auto* bytes = std::get_if<Bytes>(&value))
        return *bytes;
    if (const auto* shared = std::get_if<SharedBytes>(&value))
        return shared->view();
    return {};
}

const Value& LiveElement::get(PropertyId property) const {
    auto it = properties.find(property);
    return it == properties.end() ? kNoValue : it->second;
}

std::uint32_t LiveElement::parent() const {
    const forms::ControlRecord* record = definition->control();
    return record == nullptr ? 0 : record->parent;
}

LiveElement* LiveWindow::find(std::uint32_t element_id) {
    for (LiveElement& element : elements)
        if (element.id == element_id)
            return &element;
    return nullptr;
}

const LiveElement* LiveWindow::find(std::uint32_t element_id) const {
    return const_cast<LiveWindow*>(this)->find(element_id);
}

LiveElement* LiveWindow::resolve(std::uint32_t element_id) {
    if (element_id == id || element_id == 0)
        return &own();
    return find(element_id);
}

std::string LiveWindow::describe() const {
    return "window " + hex(id);
}

Result<std::unique_ptr<LiveWindow>> create_live_window(const forms::Window& definition) {
    if (definition.elements.empty() ||
        !forms::has_kind(definition.elements.front().id, forms::IdKind::own_element))
        return Error{"window " + hex(definition.id) + " has no own element"};
    auto window = std::make_unique<LiveWindow>();
    window->id = definition.id;
    window->definition = &definition;
    window->elements.reserve(definition.elements.size());
    for (const forms::Element& element : definition.elements) {
        VORN_TRY_ASSIGN(LiveElement live, create_element(definition, element));
        window->elements.push_back(std::move(live));
    }
    return window;
}

bool class_has_property(std::uint32_t class_id, bool is_menu_item, PropertyId property) {
    const forms::PropertyInfo* info = forms::property_info(property);
    if (info == nullptr)
        return false;
    const forms::ClassInfo* cls = forms::find_class(class_id);
    if (is_menu_item)
        return property == PropertyId::text || property == PropertyId::visible;
    if (info->place == forms::PropertyPlace::record)
        return true;
    if (cls == nullptr)
        return false;
    if (std::find(cls->runtime_properties.begin(), cls->runtime_properties.end(), property) !=
        cls->runtime_properties.end())
        return true;
    return std::any_of(cls->fields.begin(), cls->fields.end(),
                       [&](const forms::FieldSpec& field) { return field.property == property; });
}

} // namespace vorn::runtime
