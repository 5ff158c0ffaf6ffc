// Every text that the program's code shows or stores: captions it sets, tips,
// messages, the About box, file names, the settings file's sections, keys,
// values and defaults, and the few words the code compares with. They are
// written here in UTF-8 and handed out as the GBK bytes that the runtime, the
// settings file and the image's const section use.
//
// X(identifier, UTF-8 text). Identifiers are stable; the order is the order in
// which the image's const section stores the texts.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#define VORN_TEXTS(X)                                                                                        \
    /* captions */                                                                                           \
    X(product_caption, "Vorn截图工具V6.0")                                                                   \
    X(shortcut_name, "Vorn截图工具")                                                                         \
    /* tips of the main window's buttons, in the order they are attached */                                  \
    X(tip_exit, "退出程序")                                                                                  \
    X(tip_print, "打印截图")                                                                                 \
    X(tip_zoom, "放大显示截图")                                                                              \
    X(tip_clear, "清除截图")                                                                                 \
    X(tip_save, "保存截图为图片文件")                                                                        \
    X(tip_settings, "设置选项")                                                                              \
    X(tip_edit, "给截图添加图示或文字")                                                                      \
    X(tip_capture_window, "截取选择的窗口图片")                                                              \
    X(tip_capture_full_screen, "截取电脑全屏图片")                                                           \
    X(tip_capture_region, "截取拖动选择区域图片")                                                            \
    X(tip_copy, "复制截图到剪贴板")                                                                          \
    X(tip_about, "查看软件信息")                                                                             \
    /* tips of the editing window's tools and of the enlarged view's buttons */                              \
    X(tip_text_tool, "给截图添加文字")                                                                       \
    X(tip_circle_tool, "在截图上画圆圈")                                                                     \
    X(tip_rectangle_tool, "在截图上画方框")                                                                  \
    X(tip_arrow_tool, "在截图上画箭头")                                                                      \
    X(tip_enlarge, "放大")                                                                                   \
    X(tip_shrink, "缩小")                                                                                    \
    /* messages; copy ends in a full-width mark, print and save in an ASCII one */                           \
    X(no_shot_copy, "您还没有截图呢！")                                                                      \
    X(no_shot, "您还没有截图呢!")                                                                            \
    X(no_shot_zoom, "没有截图!")                                                                             \
    X(no_shot_edit, "没有截图,不能编辑!")                                                                    \
    /* a save that failed: the first line, then the file, then the reason */                                 \
    X(save_failed, "截图没有保存到文件:")                                                                    \
    X(reason_no_directory, "文件夹不存在。")                                                                 \
    X(reason_denied, "文件夹是只读的,或没有写入权限。")                                                      \
    X(reason_disk_full, "磁盘空间不足。")                                                                    \
    X(reason_unreadable_picture, "截图无法转换为JPEG图片。")                                                 \
    X(reason_other, "写入文件时出错。")                                                                      \
    X(line_break, "\r\n")                                                                                    \
    /* a settings click whose value could not be stored: then the file */                                    \
    X(setting_not_saved, "设置没有保存到文件:")                                                              \
    /* the About box */                                                                                      \
    X(about_title, "关于本软件")                                                                             \
    X(about_text, "                    Vorn截图工具V6.0                    \r\n"                         \
                  "\r\n"                                                                                     \
                  "出品: Vorn工作室\r\n"                                                                \
                  "网站: www.vorn-soft.example\r\n"                                                        \
                  "邮箱: support@vorn-soft.example")                                                         \
    /* files, appended to the run directory */                                                               \
    X(settings_file, "\\设置.ini")                                                                           \
    X(temp_file, "\\temp.jpg")                                                                               \
    X(jpg_extension, ".jpg")                                                                                 \
    X(save_filter, "*.jpg|*.jpg|*.bmp|*.bmp")                                                                \
    X(backslash, "\\")                                                                                       \
    /* settings file: sections and keys */                                                                   \
    X(section_hide, "截图时隐藏")                                                                            \
    X(key_hide, "是否隐藏本窗口")                                                                            \
    X(section_sound, "截图时声音")                                                                           \
    X(key_sound, "是否播放")                                                                                 \
    X(section_options, "截图选项")                                                                           \
    X(key_copy_to_clipboard, "复制到剪贴板")                                                                 \
    X(section_edit, "编辑截图")                                                                              \
    X(key_line_width, "线条粗细")                                                                            \
    X(key_colour, "颜色")                                                                                    \
    X(key_font_size, "字体大小")                                                                             \
    X(key_font, "字体")                                                                                      \
    /* settings file: logical words and defaults */                                                          \
    X(yes, "真")                                                                                             \
    X(no, "假")                                                                                              \
    X(default_line_width, "1")                                                                               \
    X(default_colour, "0")                                                                                   \
    X(default_font_size, "12")                                                                               \
    X(default_font, "宋体")                                                                                  \
    /* annotation tools; each also prefixes its own settings keys */                                         \
    X(tool_text, "文字")                                                                                     \
    X(tool_circle, "圆框")                                                                                   \
    X(tool_arrow, "箭头")                                                                                    \
    X(tool_rectangle, "方框")                                                                                \
    /* the promotional row's entries in the timer's order, the label's stored caption first */               \
    X(promotion_1, "欢迎使用Vorn截图工具")                                                                   \
    X(promotion_2, "截图后可放大查看、添加文字和箭头")                                                       \
    X(promotion_3, "截图自动复制到剪贴板,直接粘贴")                                                          \
    X(promotion_4, "保存为JPEG图片,一键打印")                                                                \
    X(promotion_5, "Vorn图片浏览器: 快速查看各种图片")                                                       \
    X(promotion_6, "Vorn屏幕录像: 录下屏幕上的操作")                                                         \
    X(promotion_7, "Vorn取色器: 取得屏幕上任意颜色")                                                         \
    X(promotion_8, "Vorn文件整理: 按日期整理照片")                                                           \
    X(promotion_9, "Vorn批量改名: 一次改好全部文件名")                                                       \
    X(promotion_10, "Vorn记事本: 简洁好用的文本编辑")                                                        \
    X(promotion_11, "Vorn计时器: 工作学习好帮手")                                                            \
    X(promotion_12, "Vorn压缩工具: 打包文件更方便")                                                          \
    X(promotion_13, "更多软件请访问 www.vorn-soft.example")                                                  \
    /* words the code looks for */                                                                           \
    X(picture_handle, "Handle")                                                                              \
    X(exe_lower, "exe")                                                                                      \
    X(exe_upper, "EXE")

namespace vorn::app {

enum class Text : std::uint16_t {
#define VORN_TEXT_ENUM(id, utf8) id,
    VORN_TEXTS(VORN_TEXT_ENUM)
#undef VORN_TEXT_ENUM
};

struct TextInfo {
    Text id;
    std::string_view name; // the identifier, for messages and dumps
    std::string_view utf8;
};

std::span<const TextInfo> all_texts();

std::string_view utf8(Text text);
// The GBK bytes, converted once on first use; the view stays valid for the
// whole run.
std::string_view gbk(Text text);

} // namespace vorn::app
