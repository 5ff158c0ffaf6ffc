// The six windows as the built image stores them, checked for what a user
// sees and what the runtime relies on.
#include "forms/class_block.h"
#include "forms/class_table.h"
#include "forms/layouts/elements.h"
#include "forms/layouts/entry_points.h"
#include "runtime/core/contract/scaled_pictures.h"
#include "runtime/core/picture/decode.h"
#include "tests/layouts/built_image.h"
#include "tools/imagetool/assemble.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace vorn::testing {
namespace {

using forms::ControlRecord;
using forms::Element;
using forms::Window;
namespace cls = forms::class_id;

const std::vector<Window>& windows() {
    return built_image().windows.windows;
}

forms::ClassBlock block_of(const Element& element) {
    Result<forms::ClassBlock> block =
        forms::decode_class_block(element.class_id, element.control()->class_block);
    EXPECT_TRUE(block.ok()) << block.error().message;
    return block.ok() ? *block : forms::ClassBlock{};
}

std::string name_of(const Element& element) {
    return utf8(element.name);
}

bool shows_on_screen(const Element& element) {
    const forms::ClassInfo* info = forms::find_class(element.class_id);
    return info && info->has_window && (element.control()->flags & forms::element_flag::visible) != 0;
}

bool is_component(const Element& element) {
    const forms::ClassInfo* info = forms::find_class(element.class_id);
    return element.control() && info && !info->has_window;
}

struct Box {
    std::int64_t left, top, right, bottom;
    bool contains(const Box& inner) const {
        return inner.left >= left && inner.top >= top && inner.right <= right && inner.bottom <= bottom;
    }
    bool meets(const Box& other) const {
        return other.left < right && left < other.right && other.top < bottom && top < other.bottom;
    }
};

Box box_of(const ControlRecord& control) {
    return {control.left, control.top, control.left + control.width, control.top + control.height};
}

// A window with a fixed border loses a 3-pixel frame on each side and a
// 23-pixel title bar at 96 dpi; a borderless one is all client area.
constexpr std::int32_t kFrame = 3;
constexpr std::int32_t kTitleBar = 23;
// Start-up hides the promotional row along the bottom by taking this much off
// the main window's height.
constexpr std::int32_t kMainWindowShortenedBy = 40;

Box client_area(const Window& window) {
    const Element& own = window.elements.front();
    const ControlRecord& outer = *own.control();
    if (block_of(own).u32(forms::PropertyId::border_style).value_or(0) == 0)
        return {0, 0, outer.width, outer.height};
    return {0, 0, outer.width - 2 * kFrame, outer.height - 2 * kFrame - kTitleBar};
}

const Element* find(const Window& window, std::uint32_t id) {
    for (const Element& element : window.elements)
        if (element.id == id)
            return &element;
    return nullptr;
}

const Window& window_of(std::uint32_t id) {
    for (const Window& window : windows())
        if (window.id == id)
            return window;
    throw std::runtime_error("no window " + hex(id));
}

const std::map<std::uint32_t, std::string> kWindowNames = {
    {ui::主窗口::kId, "主窗口"},     {ui::区域窗口::kId, "区域窗口"}, {ui::边框窗口::kId, "边框窗口"},
    {ui::放大窗口::kId, "放大窗口"}, {ui::编辑窗口::kId, "编辑窗口"}, {ui::设置窗口::kId, "设置窗口"},
};

TEST(ProgramWindows, AreTheSixWindowsWithTheMainWindowFirst) {
    std::vector<std::uint32_t> ids;
    for (const Window& window : windows())
        ids.push_back(window.id);
    EXPECT_EQ(ids, (std::vector<std::uint32_t>{ui::主窗口::kId, ui::区域窗口::kId, ui::边框窗口::kId,
                                               ui::放大窗口::kId, ui::编辑窗口::kId, ui::设置窗口::kId}));
    // Only the main window starts hidden: its created handler shows it once
    // the caption is right.
    for (const Window& window : windows()) {
        const Element& own = window.elements.front();
        EXPECT_EQ(own.control()->flags, window.id == ui::主窗口::kId ? 0u : 1u) << hex(window.id);
        EXPECT_EQ(own.control()->left, 50);
        EXPECT_EQ(own.control()->top, 50);
    }
    EXPECT_EQ(utf8(*block_of(window_of(ui::主窗口::kId).elements.front()).text(forms::PropertyId::text)),
              "Vorn截图工具2.0");
    EXPECT_EQ(block_of(window_of(ui::区域窗口::kId).elements.front()).version, 5u);
}

TEST(ProgramWindows, IdsAreUniqueInTheImageAndOfTheKindTheirPlaceNeeds) {
    std::set<std::uint32_t> sequence_numbers;
    auto take = [&](std::uint32_t id, forms::IdKind kind) {
        EXPECT_EQ(forms::id_kind(id), kind) << hex(id);
        EXPECT_EQ((id >> 16) & 0xFF, 0x01u) << hex(id);
        EXPECT_TRUE(sequence_numbers.insert(id & 0xFFFF).second) << hex(id) << " repeats a sequence number";
    };
    for (const Window& window : windows()) {
        take(window.id, forms::IdKind::window);
        take(window.unit_id, forms::IdKind::unit);
        ASSERT_FALSE(window.elements.empty());
        EXPECT_EQ(window.elements.front().class_id, cls::window);
        for (std::size_t i = 0; i < window.elements.size(); ++i) {
            const Element& element = window.elements[i];
            take(element.id, i == 0                   ? forms::IdKind::own_element
                             : element.is_menu_item() ? forms::IdKind::menu_item
                                                      : forms::IdKind::control);
            if (i > 0) {
                EXPECT_NE(element.class_id, cls::window) << hex(element.id);
            }
        }
    }
}

TEST(ProgramWindows, ContainersAndTheirChildrenNameEachOther) {
    for (const Window& window : windows())
        for (const Element& element : window.elements) {
            const ControlRecord* control = element.control();
            if (!control)
                continue;
            if (control->parent != 0) {
                const Element* container = find(window, control->parent);
                ASSERT_NE(container, nullptr) << name_of(element);
                EXPECT_TRUE(container->class_id == cls::shape_box || container->class_id == cls::canvas)
                    << name_of(element) << " sits in " << name_of(*container);
                EXPECT_EQ(container->control()->parent, 0u) << "containers are not nested";
                const auto& siblings = container->control()->children;
                EXPECT_EQ(std::count(siblings.begin(), siblings.end(), element.id), 1) << name_of(element);
            }
            for (std::uint32_t child : control->children) {
                const Element* inner = find(window, child);
                ASSERT_NE(inner, nullptr) << hex(child);
                EXPECT_EQ(inner->control()->parent, element.id) << name_of(*inner);
            }
        }
}

// What can be seen lies inside its window or container; the few controls that
// are stored beyond the main window's right edge are never seen at all.
TEST(ProgramWindows, VisibleControlsLieInsideWhatHoldsThem) {
    const std::set<std::uint32_t> beyond_the_edge = {ui::主窗口::编辑框1.element, ui::主窗口::按钮2.element,
                                                     ui::主窗口::按钮_退出.element};
    for (const Window& window : windows()) {
        const Box client = client_area(window);
        for (std::size_t i = 1; i < window.elements.size(); ++i) {
            const Element& element = window.elements[i];
            if (!element.control())
                continue;
            SCOPED_TRACE(name_of(element));
            const ControlRecord& control = *element.control();
            if (is_component(element)) {
                EXPECT_LT(control.top, 0) << "components stay off the window's surface";
                EXPECT_GE(control.width, 24);
                EXPECT_LE(control.width, 26);
                continue;
            }
            if (window.id == ui::主窗口::kId && beyond_the_edge.count(element.id)) {
                EXPECT_FALSE(client.meets(box_of(control)));
                continue;
            }
            if (element.id == ui::主窗口::标签2.element) {
                Box shown = client;
                shown.bottom -= kMainWindowShortenedBy;
                EXPECT_TRUE(box_of(control).contains(shown)) << "the background covers the window as shown";
                continue;
            }
            if (!shows_on_screen(element))
                continue;
            const Element* container = control.parent ? find(window, control.parent) : nullptr;
            const Box room =
                container ? Box{0, 0, container->control()->width, container->control()->height} : client;
            EXPECT_TRUE(room.contains(box_of(control)));
        }
    }
}

TEST(ProgramWindows, EveryEventRunsAnEntryNamedAfterWhatRaisesIt) {
    std::map<std::uint32_t, int> bound;
    for (const Window& window : windows())
        for (std::size_t i = 0; i < window.elements.size(); ++i) {
            const Element& element = window.elements[i];
            auto check = [&](std::int32_t event, std::uint32_t handler, const std::string& owner) {
                SCOPED_TRACE(owner + " event " + std::to_string(event));
                const layouts::EntryInfo* entry = layouts::find_entry(handler);
                ASSERT_NE(entry, nullptr) << hex(handler);
                EXPECT_EQ(std::string(entry->name).rfind(owner + "_", 0), 0u) << entry->name;
                ++bound[handler];
            };
            if (const forms::MenuItemRecord* item = element.menu_item()) {
                if (item->click_handler != forms::kNoHandler)
                    check(0, item->click_handler, "菜单_" + utf8(item->caption));
                continue;
            }
            const forms::ClassInfo* info = forms::find_class(element.class_id);
            ASSERT_NE(info, nullptr);
            for (const forms::EventBinding& binding : element.control()->events) {
                EXPECT_NE(forms::find_event(*info, binding.event), nullptr)
                    << name_of(element) << " cannot raise " << binding.event;
                check(binding.event, binding.handler, i == 0 ? kWindowNames.at(window.id) : name_of(element));
            }
        }
    for (const layouts::EntryInfo& entry : layouts::entry_points()) {
        const bool routine =
            entry.entry == layouts::Entry::启动例程 || entry.entry == layouts::Entry::全局清理;
        EXPECT_EQ(bound[layouts::offset_of(entry.entry)], routine ? 0 : 1) << entry.name;
    }
}

TEST(MainWindow, ButtonRowReadsLeftToRightEvenlySpaced) {
    const Window& main = window_of(ui::主窗口::kId);
    const Box client = client_area(main);
    std::vector<const Element*> row;
    for (const Element& element : main.elements)
        if (element.class_id == cls::picture_button && client.contains(box_of(*element.control())))
            row.push_back(&element);
    std::sort(row.begin(), row.end(),
              [](const Element* a, const Element* b) { return a->control()->left < b->control()->left; });
    std::vector<std::string> captions;
    for (const Element* button : row)
        captions.push_back(utf8(*block_of(*button).text(forms::PropertyId::text)));
    EXPECT_EQ(captions, (std::vector<std::string>{"窗口", "全屏", "区域", "放大", "编辑", "复制", "清除",
                                                  "保存", "打印", "设置", "关于"}));
    ASSERT_EQ(row.size(), 11u);
    for (std::size_t i = 0; i < row.size(); ++i) {
        const ControlRecord& button = *row[i]->control();
        EXPECT_EQ(button.top, 8);
        EXPECT_EQ(button.width, 40);
        EXPECT_EQ(button.height, 48);
        EXPECT_EQ(forms::cursor_of(button), forms::cursor_id::hand);
        if (i == 0)
            continue;
        const ControlRecord& before = *row[i - 1]->control();
        EXPECT_GT(button.left, before.left + before.width) << "gap before " << i;
        // The capture, view and file buttons share one step; settings and
        // About stand apart at the right.
        if (i < 9) {
            EXPECT_EQ(button.left - before.left, 46) << i;
        }
    }
    EXPECT_EQ(row.front()->control()->left, 8);
    EXPECT_EQ(row.back()->control()->left, 624);
}

TEST(MainWindow, PictureBoxMenuOpensFourActionsUnderAnInertTopItem) {
    std::vector<std::string> captions;
    std::vector<bool> has_handler;
    for (const Window& window : windows())
        for (const Element& element : window.elements)
            if (const forms::MenuItemRecord* item = element.menu_item()) {
                EXPECT_EQ(window.id, ui::主窗口::kId) << "only the main window has a menu";
                EXPECT_EQ(item->level, captions.empty() ? 0u : 1u);
                captions.push_back(utf8(item->caption));
                has_handler.push_back(item->click_handler != forms::kNoHandler);
            }
    EXPECT_EQ(captions, (std::vector<std::string>{"编辑", "清除图片", "复制图片", "打印图片", "保存图片"}));
    EXPECT_EQ(has_handler, (std::vector<bool>{false, true, true, true, true}));
    const Element* picture_box = find(window_of(ui::主窗口::kId), ui::主窗口::截图效果图片框.element);
    ASSERT_NE(picture_box, nullptr);
    const auto& events = picture_box->control()->events;
    EXPECT_TRUE(std::any_of(events.begin(), events.end(), [](const forms::EventBinding& b) {
        return b.event == -4;
    })) << "a right-button press pops the menu up";
}

TEST(EditingWindow, LabelFontsAreChineseAndEveryToolGlyphHasOne) {
    int tool_labels = 0;
    for (const Window& window : windows())
        for (const Element& element : window.elements) {
            if (element.class_id != cls::label)
                continue;
            SCOPED_TRACE(name_of(element));
            const forms::ClassBlock block = block_of(element);
            const std::optional<forms::Font>* font = block.font();
            ASSERT_NE(font, nullptr);
            const bool chooses_tool = window.id == ui::编辑窗口::kId && !element.control()->events.empty();
            tool_labels += chooses_tool;
            if (chooses_tool) {
                EXPECT_TRUE(font->has_value());
            }
            if (!font->has_value())
                continue;
            EXPECT_EQ((*font)->charset, forms::kChineseCharset);
            EXPECT_EQ((*font)->weight, forms::kNormalWeight);
            EXPECT_EQ((*font)->face_name(), "") << "the charset's default face";
            EXPECT_TRUE((*font)->height == -21 || (*font)->height == -16) << (*font)->height;
            EXPECT_LT(-(*font)->height, element.control()->height) << "the glyph fits its square";
        }
    EXPECT_EQ(tool_labels, 4);
}

std::uint16_t u16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

TEST(ProgramWindows, PicturesAreCompleteFilesOfTheirStatedSize) {
    std::set<Bytes> distinct;
    int icons = 0, pngs = 0, bitmaps = 0;
    for (const Window& window : windows())
        for (const Element& element : window.elements) {
            if (element.class_id != cls::picture_button && element.class_id != cls::graphic_button)
                continue;
            SCOPED_TRACE(name_of(element));
            const forms::ClassBlock block = block_of(element);
            const Bytes* file = block.bytes(forms::PropertyId::picture);
            ASSERT_NE(file, nullptr);
            ASSERT_GT(file->size(), 8u);
            EXPECT_TRUE(distinct.insert(*file).second) << "every button has a picture of its own";
            if (u16(*file, 0) == 0 && u16(*file, 2) == 1) {
                // An icon file: one 32 x 32 image that ends the file.
                ++icons;
                ASSERT_EQ(file->size(), 4286u);
                EXPECT_EQ(u16(*file, 4), 1);
                EXPECT_EQ(file->at(6), 32);
                EXPECT_EQ(file->at(7), 32);
                EXPECT_EQ(load_u32(file->data() + 14) + load_u32(file->data() + 18), file->size());
                continue;
            }
            Result<picture::Image> decoded = picture::decode_picture(*file);
            ASSERT_TRUE(decoded.ok()) << decoded.error().message;
            const std::int32_t side = element.class_id == cls::graphic_button ? 16 : 32;
            EXPECT_EQ(decoded->width, side);
            EXPECT_EQ(decoded->height, side);
            if (element.class_id == cls::graphic_button) {
                ++bitmaps;
                EXPECT_EQ(file->size(), 1686u);
                EXPECT_EQ(u16(*file, 0), 0x4D42); // "BM"
                EXPECT_EQ(u16(*file, 28), 24);    // bits per pixel
            } else {
                ++pngs;
                EXPECT_EQ(Bytes(file->begin(), file->begin() + 4), (Bytes{0x89, 'P', 'N', 'G'}));
                EXPECT_EQ(file->at(25), 6) << "RGBA";
            }
        }
    EXPECT_EQ(icons, 8);
    EXPECT_EQ(pngs, 5);
    EXPECT_EQ(bitmaps, 2);
}

// The runtime finds a button's picture drawn for a higher DPI by the name
// made from the bytes it reads from the button: the names the builder gives
// must come from the very bytes the image stores.
TEST(ProgramWindows, EveryButtonPictureIsDrawnAgainAtEachScaleUnderTheNameItsBytesGive) {
    Result<std::vector<imagetool::ScaledPicture>> scaled = imagetool::scaled_pictures();
    ASSERT_TRUE(scaled.ok()) << scaled.error().message;
    std::map<std::string, Bytes> by_name;
    for (const imagetool::ScaledPicture& picture : *scaled)
        EXPECT_TRUE(by_name.emplace(picture.name, picture.bytes).second) << picture.name << " twice";
    int buttons = 0;
    for (const Window& window : windows())
        for (const Element& element : window.elements) {
            if (element.class_id != cls::picture_button && element.class_id != cls::graphic_button)
                continue;
            SCOPED_TRACE(name_of(element));
            ++buttons;
            const forms::ClassBlock block = block_of(element);
            const Bytes* file = block.bytes(forms::PropertyId::picture);
            ASSERT_NE(file, nullptr);
            const int side = element.class_id == cls::graphic_button ? 16 : 32;
            for (const std::uint32_t percent : contract::kPictureScales) {
                const auto found = by_name.find(contract::scaled_picture_name(*file, percent));
                ASSERT_NE(found, by_name.end()) << percent << " %";
                Result<picture::Image> decoded = picture::decode_picture(found->second);
                if (!decoded.ok() && u16(found->second, 2) == 1) {
                    // An icon file: its size is in its directory entry.
                    EXPECT_EQ(found->second.at(6), side * int(percent) / 100);
                    continue;
                }
                ASSERT_TRUE(decoded.ok()) << decoded.error().message;
                EXPECT_EQ(decoded->width, side * std::int32_t(percent) / 100);
            }
        }
    EXPECT_EQ(by_name.size(), std::size_t(buttons) * contract::kPictureScales.size());
}

void expect_refs_match(const Window& window, const forms::ElementRef& own,
                       std::span<const ui::NamedElement> named, std::span<const ui::NamedElement> menu = {}) {
    SCOPED_TRACE(hex(window.id));
    EXPECT_EQ(own.window, window.id);
    EXPECT_EQ(own.element, window.elements.front().id);
    EXPECT_EQ(own.class_id, window.elements.front().class_id);
    std::set<std::uint32_t> referenced;
    for (const ui::NamedElement& ref : named) {
        const Element* element = find(window, ref.ref.element);
        ASSERT_NE(element, nullptr) << ref.name;
        EXPECT_EQ(ref.ref.window, window.id) << ref.name;
        EXPECT_EQ(ref.ref.class_id, element->class_id) << ref.name;
        EXPECT_EQ(element->name, gbk(ref.name));
        referenced.insert(ref.ref.element);
    }
    std::vector<std::uint32_t> menu_ids;
    for (const ui::NamedElement& ref : menu) {
        EXPECT_EQ(ref.ref.window, window.id) << ref.name;
        EXPECT_EQ(ref.ref.class_id, cls::menu_item) << ref.name;
        menu_ids.push_back(ref.ref.element);
    }
    std::vector<std::uint32_t> stored_menu;
    for (std::size_t i = 1; i < window.elements.size(); ++i) {
        const Element& element = window.elements[i];
        if (element.is_menu_item())
            stored_menu.push_back(element.id);
        else
            EXPECT_TRUE(referenced.count(element.id)) << name_of(element) << " has no reference";
    }
    EXPECT_EQ(menu_ids, stored_menu);
}

TEST(ProgramWindows, ElementReferencesOfTheCodeMatchTheWindows) {
    expect_refs_match(window_of(ui::主窗口::kId), ui::主窗口::窗口, ui::主窗口::kNamed, ui::主窗口::kMenu);
    expect_refs_match(window_of(ui::区域窗口::kId), ui::区域窗口::窗口, ui::区域窗口::kNamed);
    expect_refs_match(window_of(ui::边框窗口::kId), ui::边框窗口::窗口, ui::边框窗口::kNamed);
    expect_refs_match(window_of(ui::放大窗口::kId), ui::放大窗口::窗口, ui::放大窗口::kNamed);
    expect_refs_match(window_of(ui::编辑窗口::kId), ui::编辑窗口::窗口, ui::编辑窗口::kNamed);
    expect_refs_match(window_of(ui::设置窗口::kId), ui::设置窗口::窗口, ui::设置窗口::kNamed);
}

} // namespace
} // namespace vorn::testing
