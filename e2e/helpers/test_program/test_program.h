// testprog.exe: a small program run on the real runtime by the end-to-end
// scenarios of the Win32 desktop. Its image is built in memory at start from
// definitions written here, its handlers are native functions behind the
// VornDispatch export, and it reports what it sees as UTF-8 lines in
// events.log beside the executable.
#pragma once

#include "base/bytes.h"
#include "forms/ids.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vorn::testprog {

// Windows and elements.
inline constexpr std::uint32_t kMain = 0x52010001;
inline constexpr std::uint32_t kMainOwn = 0x06010000;
inline constexpr std::uint32_t kCopy = 0x16010010;       // picture button, icon
inline constexpr std::uint32_t kZoom = 0x16010011;       // picture button, PNG
inline constexpr std::uint32_t kAbout = 0x16010012;      // picture button: message box
inline constexpr std::uint32_t kOpenDialog = 0x16010013; // picture button: modal dialog
inline constexpr std::uint32_t kSnapshot = 0x16010014;   // push button: screen to picture box and clipboard
inline constexpr std::uint32_t kCheck = 0x16010015;
inline constexpr std::uint32_t kEdit = 0x16010016; // whole numbers
inline constexpr std::uint32_t kLabel = 0x16010017;
inline constexpr std::uint32_t kPictureBox = 0x16010018;
inline constexpr std::uint32_t kCanvas = 0x16010019;
inline constexpr std::uint32_t kSeeThrough = 0x1601001A; // transparent label on the canvas
inline constexpr std::uint32_t kInnerLabel = 0x1601001B; // label in the shape box, stored before it
inline constexpr std::uint32_t kShapeBox = 0x1601001C;
inline constexpr std::uint32_t kIdleTimer = 0x1601001D; // interval 0
inline constexpr std::uint32_t kOnceTimer = 0x1601001E; // fires once
inline constexpr std::uint32_t kDevice = 0x1601001F;
inline constexpr std::uint32_t kBalloon = 0x16010020;
inline constexpr std::uint32_t kFileDialog = 0x16010021;
inline constexpr std::uint32_t kSave = 0x16010022; // push button: save dialog
inline constexpr std::uint32_t kHiddenButton = 0x16010024;
inline constexpr std::uint32_t kBackground = 0x16010023; // white label under everything
inline constexpr std::uint32_t kColourPicker = 0x16010025;
inline constexpr std::uint32_t kFontPicker = 0x16010026;
inline constexpr std::uint32_t kMenu = 0x26010030;
inline constexpr std::uint32_t kMenuClear = 0x26010031;
inline constexpr std::uint32_t kMenuCopy = 0x26010032;
inline constexpr std::uint32_t kDialog = 0x52010040;
inline constexpr std::uint32_t kDialogOwn = 0x06010041;
inline constexpr std::uint32_t kDialogClose = 0x16010042;
inline constexpr std::uint32_t kDialogGraphic = 0x16010043; // graphic button
inline constexpr std::uint32_t kDialogHover = 0x16010044; // transparent label turning green under the pointer
inline constexpr std::uint32_t kDialogFailure = 0x16010045; // push button: reads a property a button lacks
inline constexpr std::uint32_t kDialogPrint = 0x16010046;   // push button: prints the screen
inline constexpr std::uint32_t kDialogPrinter = 0x16010047;

// Handler offsets in the code section.
namespace handler {
inline constexpr std::uint32_t start = 0x10;
inline constexpr std::uint32_t main_created = 0x20;
inline constexpr std::uint32_t main_destroyed = 0x30;
inline constexpr std::uint32_t copy_clicked = 0x40;
inline constexpr std::uint32_t zoom_clicked = 0x50;
inline constexpr std::uint32_t about_clicked = 0x60;
inline constexpr std::uint32_t open_dialog_clicked = 0x70;
inline constexpr std::uint32_t snapshot_clicked = 0x80;
inline constexpr std::uint32_t check_clicked = 0x90;
inline constexpr std::uint32_t edit_changed = 0xA0;
inline constexpr std::uint32_t label_pressed = 0xB0;
inline constexpr std::uint32_t picture_double_clicked = 0xC0;
inline constexpr std::uint32_t picture_right_pressed = 0xD0;
inline constexpr std::uint32_t canvas_pressed = 0xE0;
inline constexpr std::uint32_t canvas_released = 0xF0;
inline constexpr std::uint32_t canvas_moved = 0x100;
inline constexpr std::uint32_t timer_elapsed = 0x110;
inline constexpr std::uint32_t device_moved = 0x120;
inline constexpr std::uint32_t device_button = 0x130;
inline constexpr std::uint32_t save_clicked = 0x140;
inline constexpr std::uint32_t menu_clear = 0x150;
inline constexpr std::uint32_t menu_copy = 0x160;
inline constexpr std::uint32_t dialog_created = 0x170;
inline constexpr std::uint32_t dialog_destroyed = 0x180;
inline constexpr std::uint32_t dialog_close_clicked = 0x190;
inline constexpr std::uint32_t cleanup = 0x1A0;
inline constexpr std::uint32_t edit_key = 0x1B0;
inline constexpr std::uint32_t colour_chosen = 0x1C0;
inline constexpr std::uint32_t font_chosen = 0x1D0;
inline constexpr std::uint32_t graphic_clicked = 0x1E0;
inline constexpr std::uint32_t hover_moved = 0x1F0;
inline constexpr std::uint32_t failure_clicked = 0x200;
inline constexpr std::uint32_t print_clicked = 0x210;
inline constexpr std::uint32_t code_size = 0x300;
} // namespace handler

// The program image: the product's tables, these windows, and a code
// section whose offsets the handlers above stand for.
Bytes build_image();

// UTF-8 source text as the GBK the definitions and the runtime use.
std::string gbk(std::string_view utf8);
std::string utf8(std::string_view gbk);

} // namespace vorn::testprog
