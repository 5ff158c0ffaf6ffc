#include "forms/class_block.h"
#include "forms/class_table.h"
#include "sample_forms.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace vorn;
using namespace vorn::forms;
using namespace vorn::forms::testing;
using P = PropertyId;

namespace {

void u32s(ByteWriter& out, std::initializer_list<std::uint32_t> values) {
    for (std::uint32_t value : values)
        out.u32(value);
}
void zeros32(ByteWriter& out, std::size_t count) {
    out.zeros(4 * count);
}
void counted_text(ByteWriter& out, const std::string& text) {
    out.counted(as_bytes(text));
}

Bytes logfont(std::int32_t height, std::string_view face) {
    ByteWriter out;
    u32s(out, {std::uint32_t(height), 0, 0, 0, 400});
    out.u8(0); // italic
    out.u8(0);
    out.u8(0);
    out.u8(134); // charset
    out.zeros(4);
    Bytes name(32, 0);
    std::copy(face.begin(), face.end(), name.begin());
    out.bytes(name);
    return out.take();
}

// A stored block written from the layout descriptions field by field, and what
// its decoded form must show.
struct StoredBlock {
    const char* what;
    std::uint32_t class_id;
    Bytes raw;
    std::function<void(const ClassBlock&)> check;
};

std::vector<StoredBlock> stored_blocks() {
    std::vector<StoredBlock> blocks;
    {
        ByteWriter out;
        u32s(out, {6, 2, 1, 0x00FFFF00, 0, 0, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0});
        EXPECT_EQ(out.size(), 76u);
        counted_text(out, "");
        for (int i = 0; i < 3; ++i)
            counted_text(out, "");
        counted_text(out, gbk("Vorn截图工具2.0"));
        counted_text(out, "");
        blocks.push_back({"window v6", class_id::window, out.take(), [](const ClassBlock& b) {
                              EXPECT_EQ(b.u32(P::border_style), 2u);
                              EXPECT_EQ(b.u32(P::back_colour), 0x00FFFF00u);
                              EXPECT_EQ(b.text(P::window_class_name), "");
                              EXPECT_EQ(b.text(P::text), gbk("Vorn截图工具2.0"));
                              const auto* attributes = b.kept("attributes");
                              ASSERT_NE(attributes, nullptr);
                              EXPECT_EQ(std::get<std::vector<std::uint32_t>>(*attributes)[2], 1u);
                          }});
    }
    {
        ByteWriter out;
        u32s(out, {5, 0, 1, 0xFF000000, 0, 0, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0});
        for (int i = 0; i < 3; ++i)
            counted_text(out, "");
        counted_text(out, gbk("捕获指定区域"));
        counted_text(out, "");
        blocks.push_back({"window v5", class_id::window, out.take(), [](const ClassBlock& b) {
                              EXPECT_EQ(b.u32(P::border_style), 0u);
                              EXPECT_EQ(b.text(P::text), gbk("捕获指定区域"));
                              EXPECT_EQ(b.text(P::window_class_name), std::nullopt);
                          }});
    }
    {
        ByteWriter out;
        u32s(out, {2, 0, 0, 0, 0, 0, 0, 0x00FF0000, 0x00C0C0C0});
        EXPECT_EQ(out.size(), 36u);
        zeros32(out, 8);
        out.counted(logfont(-21, ""));
        out.u32(0);
        counted_text(out, gbk("字"));
        u32s(out, {0, 0});
        blocks.push_back({"label with a font", class_id::label, out.take(), [](const ClassBlock& b) {
                              EXPECT_EQ(b.u32(P::text_colour), 0x00FF0000u);
                              EXPECT_EQ(b.u32(P::back_colour), 0x00C0C0C0u);
                              EXPECT_EQ(b.text(P::text), gbk("字"));
                              ASSERT_NE(b.font(), nullptr);
                              ASSERT_TRUE(b.font()->has_value());
                              const Font& font = **b.font();
                              EXPECT_EQ(font.height, -21);
                              EXPECT_EQ(font.weight, 400);
                              EXPECT_EQ(font.italic, 0);
                              EXPECT_EQ(font.charset, 134);
                              EXPECT_EQ(font.face_name(), "");
                          }});
    }
    {
        ByteWriter out;
        u32s(out, {2, 0, 0, 0, 0, 0, 0, 0xFF000000, 0x00FFFFFF, 0, 0, 0x00FFFFFF, 0x00D8D8B4, 0x00E03058, 0,
                   0, 0});
        out.counted({}); // default font
        out.u32(7);
        counted_text(out, "");
        u32s(out, {1, 2});
        blocks.push_back({"label without a font", class_id::label, out.take(), [](const ClassBlock& b) {
                              EXPECT_EQ(b.u32(P::back_colour), 0x00FFFFFFu);
                              ASSERT_NE(b.font(), nullptr);
                              EXPECT_FALSE(b.font()->has_value());
                          }});
    }
    {
        ByteWriter out;
        u32s(out, {2, 1, 0, 0x00FFFFFF});
        zeros32(out, 5);
        EXPECT_EQ(out.size(), 36u);
        out.u32(3);
        out.u8('*');
        out.zeros(29);
        EXPECT_EQ(out.size(), 70u);
        counted_text(out, "16");
        u32s(out, {0, 0});
        blocks.push_back({"edit box", class_id::edit_box, out.take(), [](const ClassBlock& b) {
                              EXPECT_EQ(b.u32(P::back_colour), 0x00FFFFFFu);
                              EXPECT_EQ(b.u32(P::input_mode), 3u);
                              EXPECT_EQ(b.u32(P::password_char), std::uint32_t('*'));
                              EXPECT_EQ(b.text(P::text), "16");
                          }});
    }
    {
        ByteWriter out;
        out.u32(1);
        zeros32(out, 17);
        EXPECT_EQ(out.size(), 72u);
        counted_text(out, gbk("图片文件(*.jpg;*.bmp)|*.jpg;*.bmp"));
        counted_text(out, "");
        counted_text(out, "bmp");
        u32s(out, {0, 0});
        blocks.push_back({"file dialog", class_id::file_dialog, out.take(), [](const ClassBlock& b) {
                              EXPECT_EQ(b.text(P::filter), gbk("图片文件(*.jpg;*.bmp)|*.jpg;*.bmp"));
                              EXPECT_EQ(b.text(P::default_extension), "bmp");
                          }});
    }
    {
        ByteWriter out;
        u32s(out, {1, 0, 0, 0});
        EXPECT_EQ(out.size(), 16u);
        out.counted(Bytes{'B', 'M', 1, 2, 3});
        u32s(out, {0, 0, 0});
        blocks.push_back({"graphic button", class_id::graphic_button, out.take(), [](const ClassBlock& b) {
                              ASSERT_NE(b.bytes(P::picture), nullptr);
                              EXPECT_EQ(*b.bytes(P::picture), (Bytes{'B', 'M', 1, 2, 3}));
                          }});
    }
    {
        ByteWriter out;
        u32s(out, {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00FFFFFF, 0, 0x00FFFFFF, 0, 0x00F0F0F0, 0});
        out.counted(Bytes{0, 0, 1, 0});
        u32s(out, {0, 0, 0});
        counted_text(out, gbk("复制"));
        u32s(out, {0, 0xFF000000, 0});
        blocks.push_back({"picture button", class_id::picture_button, out.take(), [](const ClassBlock& b) {
                              EXPECT_EQ(b.text(P::text), gbk("复制"));
                              EXPECT_EQ(b.u32(P::text_colour), 0xFF000000u);
                              EXPECT_EQ(b.bytes(P::picture)->size(), 4u);
                          }});
    }
    {
        ByteWriter out;
        out.u32(1);
        zeros32(out, 42);
        out.u32(0x00E1FFFF);
        EXPECT_EQ(out.size(), 176u);
        counted_text(out, "body { font-size: 9pt }");
        blocks.push_back({"balloon tip", class_id::balloon_tip, out.take(), [](const ClassBlock& b) {
                              EXPECT_EQ(b.text(P::style_sheet), "body { font-size: 9pt }");
                          }});
    }
    {
        ByteWriter out;
        u32s(out, {1, 0, 0x000000FF, 0, 0, 0, 0});
        counted_text(out, gbk("保存"));
        blocks.push_back(
            {"transparent label", class_id::transparent_label, out.take(), [](const ClassBlock& b) {
                 EXPECT_EQ(b.u32(P::text_colour), 0x000000FFu);
                 EXPECT_EQ(b.text(P::text), gbk("保存"));
             }});
    }
    {
        ByteWriter out;
        u32s(out, {1, 0, 0, 0, 0});
        counted_text(out, gbk("关闭"));
        blocks.push_back({"push button", class_id::push_button, out.take(),
                          [](const ClassBlock& b) { EXPECT_EQ(b.text(P::text), gbk("关闭")); }});
    }
    {
        ByteWriter out;
        u32s(out, {2, 0, 0, 0, 0, 0, 1, 0, 0, 0});
        counted_text(out, gbk("截图完播放声音"));
        u32s(out, {0, 0});
        blocks.push_back({"check box", class_id::check_box, out.take(),
                          [](const ClassBlock& b) { EXPECT_EQ(b.text(P::text), gbk("截图完播放声音")); }});
    }
    {
        ByteWriter out;
        u32s(out, {1, 0, 0x00FFFFFF, 1, 0, 0, 1, 5, 2, 0x000000FF, 0, 0x00FFFFFF, 0, 0xFF000000, 0, 0});
        blocks.push_back({"canvas", class_id::canvas, out.take(), [](const ClassBlock& b) {
                              EXPECT_EQ(b.u32(P::back_colour), 0x00FFFFFFu);
                              EXPECT_EQ(b.u32(P::draw_mode), 5u);
                              EXPECT_EQ(b.u32(P::pen_width), 2u);
                              EXPECT_EQ(b.u32(P::pen_colour), 0x000000FFu);
                              EXPECT_EQ(b.u32(P::brush_type), 0u);
                              EXPECT_EQ(b.u32(P::brush_colour), 0x00FFFFFFu);
                              EXPECT_EQ(b.u32(P::text_colour), 0xFF000000u);
                          }});
    }
    {
        ByteWriter out;
        u32s(out, {2, 0, 0, 2, 1, 0, 0, 0, 0, 0, 0});
        blocks.push_back({"picture box", class_id::picture_box, out.take(), [](const ClassBlock& b) {
                              const auto* rest = b.kept("further fields");
                              ASSERT_NE(rest, nullptr);
                              EXPECT_EQ(std::get<std::vector<std::uint32_t>>(*rest).size(), 6u);
                          }});
    }
    {
        ByteWriter out;
        u32s(out, {1, 0xFF000000, 0, 0, 1, 1, 0x8000, 0});
        blocks.push_back({"shape box", class_id::shape_box, out.take(),
                          [](const ClassBlock& b) { EXPECT_EQ(b.u32(P::back_colour), 0xFF000000u); }});
    }
    {
        ByteWriter out;
        u32s(out, {1, 1000});
        blocks.push_back({"timer", class_id::timer, out.take(),
                          [](const ClassBlock& b) { EXPECT_EQ(b.u32(P::interval), 1000u); }});
    }
    return blocks;
}

std::string decode_error(std::uint32_t class_id, const Bytes& raw) {
    Result<ClassBlock> block = decode_class_block(class_id, raw, "test block", 0x100);
    return block.ok() ? std::string() : block.error().message;
}

} // namespace

TEST(ClassBlock, StoredBlocksDecodeToTheirPropertiesAndEncodeBack) {
    for (const StoredBlock& stored : stored_blocks()) {
        SCOPED_TRACE(stored.what);
        Result<ClassBlock> block = decode_class_block(stored.class_id, stored.raw);
        ASSERT_TRUE(block.ok()) << block.error().message;
        stored.check(*block);
        Result<Bytes> encoded = encode_class_block(*block);
        ASSERT_TRUE(encoded.ok()) << encoded.error().message;
        EXPECT_EQ(*encoded, stored.raw);
    }
}

TEST(ClassBlock, WindowVersion5CaptionStartsFourBytesEarlier) {
    const ClassBlock v6 = make_block(class_id::window, {{P::text, std::string("c")}}, {}, 6);
    const ClassBlock v5 = make_block(class_id::window, {{P::text, std::string("c")}}, {}, 5);
    EXPECT_EQ(encode(v6).size(), encode(v5).size() + 4);
    EXPECT_EQ(v5.text(P::text), "c");
}

TEST(ClassBlock, EveryClassAndVersionRoundTripsFromDefaults) {
    for (const ClassInfo& info : all_classes())
        for (std::uint32_t version : info.versions) {
            SCOPED_TRACE(std::string(info.tag) + " v" + std::to_string(version));
            const ClassBlock block = make_block(info.id, {}, {}, version);
            const Bytes raw = encode(block);
            Result<ClassBlock> decoded = decode_class_block(info.id, raw);
            ASSERT_TRUE(decoded.ok()) << decoded.error().message;
            EXPECT_EQ(*decoded, block);
        }
}

TEST(ClassBlock, EmptyBlockMeansDefaults) {
    for (const ClassInfo& info : all_classes()) {
        Result<ClassBlock> block = decode_class_block(info.id, {});
        ASSERT_TRUE(block.ok()) << info.tag;
        EXPECT_TRUE(block->empty());
        EXPECT_EQ(block->get(P::text), nullptr);
        EXPECT_TRUE(encode_class_block(*block)->empty());
    }
}

// Every prefix of a stored block either is refused or is itself a complete
// block (the layouts that end in open-ended values); none may crash.
TEST(ClassBlock, TruncatedBlocksAreRefusedCleanly) {
    for (const StoredBlock& stored : stored_blocks()) {
        SCOPED_TRACE(stored.what);
        for (std::size_t size = 1; size < stored.raw.size(); ++size) {
            const Bytes prefix(stored.raw.begin(), stored.raw.begin() + static_cast<std::ptrdiff_t>(size));
            Result<ClassBlock> block = decode_class_block(stored.class_id, prefix, "test block", 0x100);
            if (block.ok()) {
                EXPECT_EQ(*encode_class_block(*block), prefix) << size;
            } else {
                EXPECT_NE(block.error().message.find("test block at 0x"), std::string::npos);
            }
        }
        Bytes longer = stored.raw;
        longer.push_back(0);
        EXPECT_FALSE(decode_class_block(stored.class_id, longer).ok()) << "one byte past the layout";
    }
}

TEST(ClassBlock, CountedTextBoundary) {
    // The transparent label's caption ends the block: its length may reach the
    // end exactly, not one byte past it.
    ByteWriter out;
    u32s(out, {1, 0, 0, 0, 0, 0, 0, 3});
    out.bytes(as_bytes("abc"));
    Bytes raw = out.take();
    EXPECT_EQ(decode_error(class_id::transparent_label, raw), "");
    store_u32(raw.data() + 28, 4);
    EXPECT_NE(decode_error(class_id::transparent_label, raw)
                  .find("test block at 0x11c: transparent label block text declares 4 bytes"),
              std::string::npos);
    store_u32(raw.data() + 28, 0xFFFFFFFF);
    EXPECT_NE(decode_error(class_id::transparent_label, raw).find("declares 4294967295 bytes"),
              std::string::npos);
}

TEST(ClassBlock, RefusesUnknownVersionsAndLayouts) {
    EXPECT_EQ(decode_error(class_id::label, Bytes{3, 0, 0, 0}),
              "test block at 0x100: label block version 3 is not understood (known: 2)");
    EXPECT_EQ(decode_error(class_id::window, Bytes{7, 0, 0, 0}),
              "test block at 0x100: window block version 7 is not understood (known: 5, 6)");
    EXPECT_NE(decode_error(class_id::printer, Bytes{1, 0, 0, 0}).find("only an empty block is"),
              std::string::npos);
    EXPECT_NE(decode_error(0x00990001, Bytes{}).find("class 0x990001 is not known"), std::string::npos);
    EXPECT_NE(decode_error(class_id::label, Bytes{2, 0}).find("label block version needs 4 bytes"),
              std::string::npos);
}

TEST(ClassBlock, FontRecordMustBeWhole) {
    ByteWriter out;
    u32s(out, {2});
    zeros32(out, 16);
    out.counted(Bytes(59, 0));
    out.u32(0);
    counted_text(out, "");
    u32s(out, {0, 0});
    EXPECT_NE(decode_error(class_id::label, out.take()).find("font record of 59 bytes, expected 60"),
              std::string::npos);

    Font font;
    font.height = -16;
    font.italic = 1;
    font.set_face_name("\xcb\xce\xcc\xe5"); // a GBK face name
    Result<Font> back = decode_font(encode_font(font), "font", 0);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(*back, font);
    EXPECT_EQ(back->face_name(), "\xcb\xce\xcc\xe5");
    font.set_face_name(std::string(40, 'x'));
    EXPECT_EQ(font.face_name().size(), 31u) << "the face keeps room for its terminator";
}

TEST(ClassBlock, SettersAndEncoderRefuseWhatTheLayoutCannotHold) {
    ClassBlock canvas = make_block(class_id::canvas, {});
    EXPECT_FALSE(canvas.set(P::font, std::optional<Font>()).ok()) << "a canvas block has no font";
    EXPECT_FALSE(canvas.set(P::back_colour, std::string("red")).ok()) << "wrong type";
    EXPECT_FALSE(canvas.set_kept("no such field", 1u).ok());
    EXPECT_TRUE(canvas.set(P::pen_colour, 0x0000FF00u).ok());
    EXPECT_EQ(canvas.u32(P::pen_colour), 0x0000FF00u);

    ClassBlock empty{.class_id = class_id::label};
    EXPECT_FALSE(empty.set(P::text, std::string("x")).ok()) << "an empty block stores nothing to replace";

    ClassBlock edit = make_block(class_id::edit_box, {{P::password_char, 0x100u}});
    EXPECT_NE(encode_class_block(edit).error().message.find("does not fit in one byte"), std::string::npos);
    ClassBlock window = make_block(class_id::window, {}, {{"attributes", std::vector<std::uint32_t>{1, 2}}});
    EXPECT_NE(encode_class_block(window).error().message.find("2 values, the layout has 15"),
              std::string::npos);
    window = make_block(class_id::window, {});
    window.fields.pop_back();
    EXPECT_FALSE(encode_class_block(window).ok());
    EXPECT_FALSE(default_class_block(class_id::label, 1).ok());
}

// The table is read by every user of the format; a slip in it (a property in
// the wrong kind of field, two fields under one label) would go unnoticed
// until a property read returned nothing.
TEST(ClassTable, IsConsistent) {
    std::set<std::uint16_t> numbers;
    for (const PropertyInfo& info : all_properties())
        EXPECT_TRUE(numbers.insert(static_cast<std::uint16_t>(info.id)).second) << info.name;
    std::set<std::uint32_t> ids;
    for (const ClassInfo& info : all_classes()) {
        SCOPED_TRACE(info.tag);
        EXPECT_TRUE(ids.insert(info.id).second);
        EXPECT_FALSE(info.gbk_name.empty());
        std::set<std::string_view> labels;
        std::set<PropertyId> properties;
        for (std::size_t i = 0; i < info.fields.size(); ++i) {
            const FieldSpec& field = info.fields[i];
            if (field.wire == Wire::u32_rest) {
                EXPECT_EQ(i + 1, info.fields.size()) << "open-ended values must end the block";
            }
            if (field.property == P::none) {
                EXPECT_FALSE(field.label.empty());
                EXPECT_TRUE(labels.insert(field.label).second) << field.label;
                continue;
            }
            EXPECT_TRUE(properties.insert(field.property).second);
            const PropertyInfo* property = property_info(field.property);
            ASSERT_NE(property, nullptr);
            EXPECT_EQ(property->place, PropertyPlace::block);
            switch (property->kind) {
            case PropertyKind::text:
                EXPECT_EQ(field.wire, Wire::counted_text) << property->name;
                break;
            case PropertyKind::bytes:
                EXPECT_EQ(field.wire, Wire::byte_block) << property->name;
                break;
            case PropertyKind::font:
                EXPECT_EQ(field.wire, Wire::font) << property->name;
                break;
            case PropertyKind::character:
                EXPECT_EQ(field.wire, Wire::u8) << property->name;
                break;
            default:
                EXPECT_EQ(field.wire, Wire::u32) << property->name;
            }
        }
        std::set<std::int32_t> events;
        for (const EventInfo& event : info.events) {
            EXPECT_GE(event.number, 0);
            EXPECT_TRUE(events.insert(event.number).second);
        }
    }
    for (const EventInfo& event : shared_events())
        EXPECT_LT(event.number, 0);
}

TEST(ClassTable, EventsByClass) {
    const ClassInfo& window = *find_class(class_id::window);
    EXPECT_EQ(find_event(window, 1)->name, "being destroyed");
    const ClassInfo& timer = *find_class(class_id::timer);
    EXPECT_NE(find_event(timer, 0), nullptr);
    EXPECT_EQ(find_event(timer, -1), nullptr) << "components have no mouse events";
    const ClassInfo& picture_box = *find_class(class_id::picture_box);
    EXPECT_EQ(find_event(picture_box, -4)->name, "right button pressed");
    EXPECT_EQ(find_event(picture_box, -5), nullptr);
    EXPECT_EQ(find_event(picture_box, 0), nullptr);
    const ClassInfo& input = *find_class(class_id::input_device);
    EXPECT_NE(find_event(input, 3), nullptr);
    EXPECT_EQ(find_event(input, 0), nullptr);
}
