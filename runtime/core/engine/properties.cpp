// Reading and writing properties by number and sub-field, and their form at
// the program boundary: integers as themselves, texts and blocks as copies the
// receiver owns, fonts as a 60-byte record or one field of it.
#include "runtime/core/engine/engine.h"

#include "runtime/core/engine/block_lending.h"
#include "runtime/core/engine/errors.h"
#include "runtime/core/engine/fonts.h"

#include <cmath>
#include <cstring>

namespace vorn::runtime {

namespace {

using forms::FontField;
using forms::PropertyKind;

constexpr std::int32_t kBoldWeight = 700;

std::int64_t point_size(const forms::Font& font) {
    return std::llround(double(std::abs(font.height)) * kPointsPerInch / kFontDpi);
}

Result<Value> font_field(const Value& value, std::int32_t sub_field) {
    const forms::Font font =
        std::holds_alternative<forms::Font>(value) ? std::get<forms::Font>(value) : default_font();
    switch (FontField(sub_field)) {
    case FontField::face_name:
        return Value(font.face_name());
    case FontField::size:
        return Value(point_size(font));
    case FontField::bold:
        return Value(std::int64_t(font.weight >= kBoldWeight));
    case FontField::italic:
        return Value(std::int64_t(font.italic != 0));
    case FontField::underline:
        return Value(std::int64_t(font.underline != 0));
    case FontField::strike_out:
        return Value(std::int64_t(font.strike_out != 0));
    default:
        return Error{"font has no field " + std::to_string(sub_field)};
    }
}

Result<Value> with_font_field(const Value& value, std::int32_t sub_field, const Value& field) {
    forms::Font font =
        std::holds_alternative<forms::Font>(value) ? std::get<forms::Font>(value) : default_font();
    const std::int64_t number = as_integer(field);
    switch (FontField(sub_field)) {
    case FontField::face_name:
        font.set_face_name(as_text(field));
        break;
    case FontField::size:
        // A size of 0 or less (an empty or non-numeric font-size box) is
        // the default size, on a canvas and in an edit box alike.
        font.height = font_height_of_points(number <= 0 ? kDefaultPointSize : number);
        break;
    case FontField::bold:
        font.weight = number ? kBoldWeight : forms::kNormalWeight;
        break;
    case FontField::italic:
        font.italic = number ? 1 : 0;
        break;
    case FontField::underline:
        font.underline = number ? 1 : 0;
        break;
    case FontField::strike_out:
        font.strike_out = number ? 1 : 0;
        break;
    default:
        return Error{"font has no field " + std::to_string(sub_field)};
    }
    return Value(font);
}

PropertyKind kind_of(PropertyId property, std::int32_t sub_field) {
    if (property == PropertyId::font && sub_field >= 0)
        return FontField(sub_field) == FontField::face_name ? PropertyKind::text : PropertyKind::integer;
    return forms::property_info(property)->kind;
}

struct Target {
    LiveWindow* window;
    LiveElement* element;
};

Result<Target> find_target(Engine& engine, std::uint32_t window_id, std::uint32_t element_id,
                           PropertyId property, std::int32_t sub_field) {
    VORN_TRY_ASSIGN(Engine::Element found, engine.find_element(window_id, element_id));
    if (!class_has_property(found.element.class_id, found.element.is_menu_item(), property))
        return Error{found.window.describe() + ", element " + hex(element_id) + " has no property " +
                     std::to_string(unsigned(property)) + " (" + std::string(forms::property_name(property)) +
                     ")"};
    if (sub_field != -1 && property != PropertyId::font)
        return Error{"property " + std::string(forms::property_name(property)) + " has no sub-fields"};
    return Target{&found.window, &found.element};
}

// The program's block to lend when `bytes` are all of it.
std::shared_ptr<ByteStore> lend_block(std::uintptr_t block, ByteView bytes) {
    if (block == 0 || bytes.empty())
        return nullptr;
    const ByteView whole = Engine::view_block(block);
    if (bytes.data() != whole.data() || bytes.size() != whole.size())
        return nullptr;
    return BlockLending::process().lend(block);
}

} // namespace

Result<Value> Engine::read_property(std::uint32_t window_id, std::uint32_t element_id, PropertyId property,
                                    std::int32_t sub_field) {
    VORN_TRY_ASSIGN(Target target, find_target(*this, window_id, element_id, property, sub_field));
    desktop_.refresh_property(*target.window, *target.element, property);
    const Value& value = target.element->get(property);
    if (sub_field >= 0)
        return font_field(value, sub_field);
    return value;
}

Status Engine::write_property(std::uint32_t window_id, std::uint32_t element_id, PropertyId property,
                              std::int32_t sub_field, Value value) {
    VORN_TRY_ASSIGN(Target target, find_target(*this, window_id, element_id, property, sub_field));
    Value& stored = target.element->properties[property];
    if (sub_field >= 0) {
        VORN_TRY_ASSIGN(Value font, with_font_field(stored, sub_field, value));
        stored = std::move(font);
    } else {
        stored = std::move(value);
    }
    desktop_.property_changed(*target.window, *target.element, property);
    return ok_status();
}

Result<ByteView> Engine::read_bytes_property(std::uint32_t window_id, std::uint32_t element_id,
                                             PropertyId property) {
    VORN_TRY_ASSIGN(Target target, find_target(*this, window_id, element_id, property, -1));
    desktop_.refresh_property(*target.window, *target.element, property);
    return bytes_view(target.element->get(property));
}

Status Engine::write_bytes_property(std::uint32_t window_id, std::uint32_t element_id, PropertyId property,
                                    ByteView bytes, std::uintptr_t block) {
    VORN_TRY_ASSIGN(Target target, find_target(*this, window_id, element_id, property, -1));
    std::optional<SharedBytes> same = unchanged_from_last_read(block, bytes);
    Value& stored = target.element->properties[property];
    // A large block of the program's is lent rather than copied. Otherwise a
    // new shot replaces one of the same size: its pages are written over
    // instead of a fresh buffer faulted in while the old one is still held
    // (unless another property holds them too).
    Bytes* own = nullptr;
    if (auto* shared = std::get_if<SharedBytes>(&stored))
        own = shared->sole_bytes();
    else
        own = std::get_if<Bytes>(&stored);
    if (same) {
        stored = std::move(*same);
    } else if (std::shared_ptr<ByteStore> lent = lend_block(block, bytes)) {
        stored = SharedBytes(std::move(lent));
    } else if (own != nullptr) {
        own->assign(bytes.begin(), bytes.end());
    } else {
        stored = Bytes(bytes.begin(), bytes.end());
    }
    desktop_.property_changed(*target.window, *target.element, property);
    return ok_status();
}

void Engine::note_block_read(std::uintptr_t block, std::uint32_t window_id, std::uint32_t element_id,
                             PropertyId property) {
    last_block_read_ = {block, window_id, element_id, property};
}

// The bytes of the property the program last read a block from, shared from
// now on, when `bytes` are that block and still those bytes (the program
// may have written into its block, or the property changed since).
std::optional<SharedBytes> Engine::unchanged_from_last_read(std::uintptr_t block, ByteView bytes) {
    const BlockRead read = last_block_read_;
    if (block == 0 || block != read.block || bytes.empty())
        return std::nullopt;
    LiveWindow* window = this->window(read.window);
    LiveElement* element = window != nullptr ? window->resolve(read.element) : nullptr;
    if (element == nullptr)
        return std::nullopt;
    const auto found = element->properties.find(read.property);
    if (found == element->properties.end())
        return std::nullopt;
    Value& source = found->second;
    const ByteView held = bytes_view(source);
    if (held.size() != bytes.size() || std::memcmp(held.data(), bytes.data(), bytes.size()) != 0)
        return std::nullopt;
    if (auto* own = std::get_if<Bytes>(&source)) {
        Bytes moved = std::move(*own);
        source = SharedBytes(std::move(moved));
    }
    return std::get<SharedBytes>(source);
}

void Engine::update_from_user(std::uint32_t window_id, std::uint32_t element_id, PropertyId property,
                              Value value) {
    LiveWindow* window = this->window(window_id);
    LiveElement* element = window ? window->resolve(element_id) : nullptr;
    if (element != nullptr)
        element->properties[property] = std::move(value);
}

// ---- The boundary form ----

namespace {

std::uint64_t to_boundary(const Value& value, PropertyKind kind) {
    switch (kind) {
    case PropertyKind::text:
        return reinterpret_cast<std::uintptr_t>(Engine::give_text(as_text(value)));
    case PropertyKind::bytes:
        return reinterpret_cast<std::uintptr_t>(Engine::give_block(bytes_view(value)));
    case PropertyKind::font:
        if (const auto* font = std::get_if<forms::Font>(&value))
            return reinterpret_cast<std::uintptr_t>(Engine::give_block(forms::encode_font(*font)));
        return 0;
    case PropertyKind::colour:
        return std::uint32_t(as_integer(value));
    default:
        return std::uint64_t(as_integer(value));
    }
}

Result<Value> from_boundary(std::uint64_t raw, PropertyKind kind) {
    switch (kind) {
    case PropertyKind::text:
        return Value(Engine::take_text(raw));
    case PropertyKind::bytes:
        return Value(Engine::take_block(raw));
    case PropertyKind::font: {
        Bytes record = Engine::take_block(raw);
        if (record.empty())
            return Value();
        VORN_TRY_ASSIGN(forms::Font font, forms::decode_font(record, "font record", 0));
        return Value(font);
    }
    case PropertyKind::colour:
        return Value(std::int64_t(std::uint32_t(raw)));
    case PropertyKind::flag:
        return Value(std::int64_t(raw != 0));
    default:
        return Value(std::int64_t(std::int32_t(std::uint32_t(raw))));
    }
}

} // namespace

std::uint64_t slot_read_property(std::uint32_t window, std::uint32_t element, std::uint32_t property,
                                 std::int32_t sub_field) {
    Engine& engine = *Engine::current();
    const auto id = PropertyId(property);
    if (forms::property_info(id) == nullptr)
        engine.fatal(kContractError, "read property: no property " + std::to_string(property));
    const PropertyKind kind = kind_of(id, sub_field);
    if (kind == PropertyKind::bytes && sub_field == -1) {
        // One copy, the program's; not the model's value copied on the way.
        Result<ByteView> bytes = engine.read_bytes_property(window, element, id);
        if (!bytes)
            engine.fatal(kContractError, "read property: " + bytes.error().message);
        const auto block = reinterpret_cast<std::uintptr_t>(Engine::give_block(*bytes));
        engine.note_block_read(block, window, element, id);
        return block;
    }
    Result<Value> value = engine.read_property(window, element, id, sub_field);
    if (!value)
        engine.fatal(kContractError, "read property: " + value.error().message);
    return to_boundary(*value, kind);
}

void slot_write_property(std::uint32_t window, std::uint32_t element, std::uint32_t property,
                         std::int32_t sub_field, std::uint64_t raw) {
    Engine& engine = *Engine::current();
    const auto id = PropertyId(property);
    if (forms::property_info(id) == nullptr)
        engine.fatal(kContractError, "write property: no property " + std::to_string(property));
    if (kind_of(id, sub_field) == PropertyKind::bytes && sub_field == -1) {
        Status written =
            engine.write_bytes_property(window, element, id, Engine::view_block(raw), std::uintptr_t(raw));
        if (!written)
            engine.fatal(kContractError, "write property: " + written.error().message);
        return;
    }
    Result<Value> value = from_boundary(raw, kind_of(id, sub_field));
    if (!value)
        engine.fatal(kContractError, "write property: " + value.error().message);
    Status written = engine.write_property(window, element, id, sub_field, std::move(*value));
    if (!written)
        engine.fatal(kContractError, "write property: " + written.error().message);
}

} // namespace vorn::runtime
