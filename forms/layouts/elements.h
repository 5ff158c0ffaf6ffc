// How the program's code names the elements of its six windows: one
// (window id, element id, class id) reference per element, under the name the
// element carries in its window. The window layouts take their ids and classes
// from here, so an id is written exactly once and a handler cannot address an
// element that the windows do not have.
//
// Each window lists its controls and components in stored order as
// X(name, element id, class); the popup menu items, which store no name, are
// listed apart under the names the code gives them.
#pragma once

#include "forms/ids.h"

#include <array>
#include <cstdint>
#include <string_view>

// ---- Main window ---------------------------------------------------------------

#define VORN_MAIN_WINDOW_ELEMENTS(X)                                                                         \
    X(按钮_复制, 0x160104E8, picture_button)                                                                 \
    X(气球提示框1, 0x16010498, balloon_tip)                                                                  \
    X(打印机1, 0x16010445, printer)                                                                          \
    X(按钮_退出, 0x16010437, picture_button)                                                                 \
    X(按钮_打印, 0x16010436, picture_button)                                                                 \
    X(透明标签1, 0x16010431, transparent_label)                                                              \
    X(按钮_关于, 0x16010427, picture_button)                                                                 \
    X(按钮_放大, 0x16010422, picture_button)                                                                 \
    X(按钮_清除, 0x16010421, picture_button)                                                                 \
    X(按钮_保存, 0x16010420, picture_button)                                                                 \
    X(按钮_设置, 0x1601041D, picture_button)                                                                 \
    X(按钮_编辑, 0x1601041C, picture_button)                                                                 \
    X(按钮_截取窗口, 0x1601040D, picture_button)                                                             \
    X(按钮_截取全屏, 0x1601040B, picture_button)                                                             \
    X(按钮_截取区域, 0x1601040A, picture_button)                                                             \
    X(广告标签, 0x160100F6, label)                                                                           \
    X(外形框1, 0x160100F5, shape_box)                                                                        \
    X(时钟2, 0x160100F3, timer)                                                                              \
    X(时钟1, 0x160100F1, timer)                                                                              \
    X(编辑框1, 0x16010037, edit_box)                                                                         \
    X(通用对话框1, 0x1601002A, file_dialog)                                                                  \
    X(按钮2, 0x1601000B, push_button)                                                                        \
    X(输入设备1, 0x16010003, input_device)                                                                   \
    X(截图效果图片框, 0x16010002, picture_box)                                                               \
    X(标签2, 0x1601041F, label)

#define VORN_MAIN_WINDOW_MENU(X)                                                                             \
    X(菜单_编辑, 0x260104D5, menu_item)                                                                      \
    X(菜单_清除图片, 0x260104D6, menu_item)                                                                  \
    X(菜单_复制图片, 0x260104D7, menu_item)                                                                  \
    X(菜单_打印图片, 0x260104D8, menu_item)                                                                  \
    X(菜单_保存图片, 0x260104D9, menu_item)

// ---- Region overlay --------------------------------------------------------------

#define VORN_REGION_OVERLAY_ELEMENTS(X)                                                                      \
    X(通用对话框, 0x160100B6, file_dialog)                                                                   \
    X(后台画板, 0x160100B7, canvas)                                                                          \
    X(画板, 0x160100B8, canvas)

// ---- Window-highlight frame ------------------------------------------------------

#define VORN_HIGHLIGHT_FRAME_ELEMENTS(X)                                                                     \
    X(编辑框1, 0x160101FD, edit_box)                                                                         \
    X(透明标签1, 0x160101FC, transparent_label)                                                              \
    X(画板1, 0x160101FA, canvas)                                                                             \
    X(标签4, 0x16010194, label)                                                                              \
    X(标签3, 0x16010195, label)                                                                              \
    X(标签2, 0x16010196, label)                                                                              \
    X(标签1, 0x16010197, label)

// ---- Enlarged view -----------------------------------------------------------------

#define VORN_ENLARGED_VIEW_ELEMENTS(X)                                                                       \
    X(图形按钮2, 0x16010517, graphic_button)                                                                 \
    X(图形按钮1, 0x16010513, graphic_button)                                                                 \
    X(透明标签2, 0x16010139, transparent_label)                                                              \
    X(透明标签1, 0x1601013A, transparent_label)                                                              \
    X(图片框1, 0x16010125, picture_box)

// ---- Editing window ----------------------------------------------------------------

#define VORN_EDITING_WINDOW_ELEMENTS(X)                                                                      \
    X(超级按钮3, 0x16010417, picture_button)                                                                 \
    X(文字框, 0x160102B6, edit_box)                                                                          \
    X(画板_前台, 0x16010331, canvas)                                                                         \
    X(外形框1, 0x16010330, shape_box)                                                                        \
    X(高级字体选择框1, 0x1601032C, font_picker)                                                              \
    X(标签8, 0x1601032A, label)                                                                              \
    X(标签_测量, 0x16010326, label)                                                                          \
    X(画板2, 0x16010321, canvas)                                                                             \
    X(标签1, 0x160102CB, label)                                                                              \
    X(编辑框2, 0x160102AD, edit_box)                                                                         \
    X(标签7, 0x160102AC, label)                                                                              \
    X(标签6, 0x160102A3, label)                                                                              \
    X(颜色选择钮1, 0x160102A2, colour_picker)                                                                \
    X(标签5, 0x160102A1, label)                                                                              \
    X(编辑框1, 0x160102A0, edit_box)                                                                         \
    X(标签4, 0x16010278, label)                                                                              \
    X(标签3, 0x16010277, label)                                                                              \
    X(标签2, 0x16010276, label)                                                                              \
    X(画板_中转, 0x1601033E, canvas)                                                                         \
    X(画板_缓存, 0x1601033F, canvas)

// ---- Settings window ---------------------------------------------------------------

#define VORN_SETTINGS_WINDOW_ELEMENTS(X)                                                                     \
    X(按钮1, 0x160104CE, push_button)                                                                        \
    X(选择框3, 0x160104CA, check_box)                                                                        \
    X(选择框2, 0x16010430, check_box)                                                                        \
    X(选择框1, 0x1601042F, check_box)

namespace vorn::ui {

// An element reference with the name it is known by (UTF-8).
struct NamedElement {
    forms::ElementRef ref;
    std::string_view name;
};

#define VORN_UI_REF(name, id, cls) inline constexpr forms::ElementRef name{kId, id, forms::class_id::cls};
#define VORN_UI_NAMED(name, id, cls) NamedElement{name, #name},

// Within a window's namespace: kId, the own element `窗口`, one reference per
// element, and kNamed, the controls and components with their names.
#define VORN_UI_WINDOW(window_id, own_id, ELEMENTS)                                                          \
    inline constexpr std::uint32_t kId = window_id;                                                          \
    inline constexpr forms::ElementRef 窗口{kId, own_id, forms::class_id::window};                           \
    ELEMENTS(VORN_UI_REF)                                                                                    \
    inline constexpr std::array kNamed = {ELEMENTS(VORN_UI_NAMED)};

namespace 主窗口 {
VORN_UI_WINDOW(0x52010001, 0x06010000, VORN_MAIN_WINDOW_ELEMENTS)
VORN_MAIN_WINDOW_MENU(VORN_UI_REF)
inline constexpr std::array kMenu = {VORN_MAIN_WINDOW_MENU(VORN_UI_NAMED)};
} // namespace 主窗口

namespace 区域窗口 {
VORN_UI_WINDOW(0x520100B4, 0x060100B5, VORN_REGION_OVERLAY_ELEMENTS)
} // namespace 区域窗口

namespace 边框窗口 {
VORN_UI_WINDOW(0x52010192, 0x06010193, VORN_HIGHLIGHT_FRAME_ELEMENTS)
} // namespace 边框窗口

namespace 放大窗口 {
VORN_UI_WINDOW(0x52010124, 0x06010123, VORN_ENLARGED_VIEW_ELEMENTS)
} // namespace 放大窗口

namespace 编辑窗口 {
VORN_UI_WINDOW(0x52010274, 0x06010273, VORN_EDITING_WINDOW_ELEMENTS)
} // namespace 编辑窗口

namespace 设置窗口 {
VORN_UI_WINDOW(0x5201042E, 0x0601042D, VORN_SETTINGS_WINDOW_ELEMENTS)
} // namespace 设置窗口

#undef VORN_UI_WINDOW
#undef VORN_UI_NAMED
#undef VORN_UI_REF

} // namespace vorn::ui
