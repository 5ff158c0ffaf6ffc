// The one table of the program's entry points: the start routine, the global
// clean-up and every event handler, each with its code offset. The window
// definitions bind events to these offsets, the image's code section lists
// them, and the executable's dispatcher routes them, all from this table, so a
// handler cannot be bound without existing.
//
// X(identifier, code offset, built): `built` is false for a handler whose
// behaviour a later piece of work brings; until then it does nothing visible.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#define VORN_ENTRY_POINTS(X)                                                                                 \
    X(启动例程, 0x0010, true)                                                                                \
    X(全局清理, 0x0020, true)                                                                                \
    /* main window */                                                                                        \
    X(主窗口_创建完毕, 0x0100, true)                                                                         \
    X(主窗口_将被销毁, 0x0110, true)                                                                         \
    X(按钮_复制_被单击, 0x0120, true)                                                                        \
    X(按钮_退出_被单击, 0x0130, true)                                                                        \
    X(按钮_打印_被单击, 0x0140, true)                                                                        \
    X(按钮_关于_被单击, 0x0150, true)                                                                        \
    X(按钮_放大_被单击, 0x0160, true)                                                                        \
    X(按钮_清除_被单击, 0x0170, true)                                                                        \
    X(按钮_保存_被单击, 0x0180, true)                                                                        \
    X(按钮_设置_被单击, 0x0190, true)                                                                        \
    X(按钮_编辑_被单击, 0x01A0, true)                                                                        \
    X(按钮_截取窗口_被单击, 0x01B0, true)                                                                    \
    X(按钮_截取全屏_被单击, 0x01C0, true)                                                                    \
    X(按钮_截取区域_被单击, 0x01D0, true)                                                                    \
    X(广告标签_左键被按下, 0x01E0, false)                                                                    \
    X(时钟1_周期事件, 0x01F0, true)                                                                          \
    X(按钮2_被单击, 0x0200, true)                                                                            \
    X(输入设备1_鼠标事件, 0x0210, true)                                                                      \
    X(输入设备1_按键事件, 0x0220, true)                                                                      \
    X(截图效果图片框_被双击, 0x0230, true)                                                                   \
    X(截图效果图片框_右键被按下, 0x0240, true)                                                               \
    X(菜单_清除图片_被选择, 0x0250, true)                                                                    \
    X(菜单_复制图片_被选择, 0x0260, true)                                                                    \
    X(菜单_打印图片_被选择, 0x0270, true)                                                                    \
    X(菜单_保存图片_被选择, 0x0280, true)                                                                    \
    /* region overlay */                                                                                     \
    X(区域窗口_创建完毕, 0x0300, true)                                                                       \
    X(画板_左键被按下, 0x0310, true)                                                                         \
    X(画板_鼠标位置被移动, 0x0320, true)                                                                     \
    X(画板_左键被放开, 0x0330, true)                                                                         \
    X(画板_右键被按下, 0x0340, true)                                                                         \
    /* window-highlight frame */                                                                             \
    X(边框窗口_创建完毕, 0x0400, true)                                                                       \
    /* enlarged view */                                                                                      \
    X(放大窗口_创建完毕, 0x0500, true)                                                                       \
    X(图形按钮2_被单击, 0x0510, true)                                                                        \
    X(图形按钮1_被单击, 0x0520, true)                                                                        \
    X(透明标签2_左键被按下, 0x0530, true)                                                                    \
    X(透明标签2_鼠标位置被移动, 0x0540, true)                                                                \
    X(透明标签1_左键被放开, 0x0550, true)                                                                    \
    X(透明标签1_鼠标位置被移动, 0x0560, true)                                                                \
    /* editing window */                                                                                     \
    X(编辑窗口_创建完毕, 0x0600, true)                                                                       \
    X(编辑窗口_将被销毁, 0x0610, true)                                                                       \
    X(超级按钮3_被单击, 0x0620, true)                                                                        \
    X(文字框_按下某键, 0x0630, true)                                                                         \
    X(文字框_内容被改变, 0x0640, true)                                                                       \
    X(画板_前台_左键被按下, 0x0650, true)                                                                    \
    X(画板_前台_鼠标位置被移动, 0x0660, true)                                                                \
    X(画板_前台_左键被放开, 0x0670, true)                                                                    \
    X(高级字体选择框1_字体被改变, 0x0680, true)                                                              \
    X(标签1_左键被按下, 0x0690, true)                                                                        \
    X(编辑框2_内容被改变, 0x06A0, true)                                                                      \
    X(颜色选择钮1_颜色被改变, 0x06B0, true)                                                                  \
    X(编辑框1_内容被改变, 0x06C0, true)                                                                      \
    X(标签4_左键被按下, 0x06D0, true)                                                                        \
    X(标签3_左键被按下, 0x06E0, true)                                                                        \
    X(标签2_左键被按下, 0x06F0, true)                                                                        \
    /* settings window */                                                                                    \
    X(设置窗口_创建完毕, 0x0700, true)                                                                       \
    X(按钮1_被单击, 0x0710, true)                                                                            \
    X(选择框3_被单击, 0x0720, true)                                                                          \
    X(选择框2_被单击, 0x0730, true)                                                                          \
    X(选择框1_被单击, 0x0740, true)

namespace vorn::layouts {

enum class Entry : std::uint32_t {
#define VORN_ENTRY_ENUM(name, offset, built) name = offset,
    VORN_ENTRY_POINTS(VORN_ENTRY_ENUM)
#undef VORN_ENTRY_ENUM
};

constexpr std::uint32_t offset_of(Entry entry) {
    return std::uint32_t(entry);
}

struct EntryInfo {
    Entry entry;
    std::string_view name; // UTF-8
    bool built;
};

std::span<const EntryInfo> entry_points();
const EntryInfo* find_entry(std::uint32_t code_offset);

// The code section: a directory of the entry points at their offsets, ending
// before kServiceStubsOffset, where the twelve service stubs sit.
inline constexpr std::uint32_t kServiceStubsOffset = 0x0800;

} // namespace vorn::layouts
