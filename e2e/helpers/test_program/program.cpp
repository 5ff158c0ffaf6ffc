// The test program's handlers and its entry point. Each handler does one
// visible thing and writes a line to events.log, which the scenarios read.
#include "e2e/helpers/test_program/test_program.h"

#include "runtime/core/contract/abi.h"
#include "runtime/facade/runtime.h"
#include "startup/stub.h"
#include "startup/win32_system.h"

#include <windows.h>

#include <cstdio>
#include <exception>
#include <map>
#include <string>

namespace vorn::testprog {

namespace {

using facade::Control;
using facade::EventArgs;
using facade::Runtime;
using forms::PropertyId;
namespace cls = forms::class_id;
namespace h = handler;

// DLL commands of the product's table, by position.
constexpr std::uint32_t kOpenClipboard = 0;
constexpr std::uint32_t kEmptyClipboard = 1;
constexpr std::uint32_t kSetClipboardData = 2;
constexpr std::uint32_t kCloseClipboard = 3;
constexpr std::uint64_t kBitmapFormat = 2;
constexpr std::int64_t kDesktopFolder = 3;

constexpr Control main_own{kMain, kMainOwn, cls::window};
constexpr Control picture_box{kMain, kPictureBox, cls::picture_box};
constexpr Control canvas{kMain, kCanvas, cls::canvas};

std::int64_t g_press_x = 0;
std::int64_t g_press_y = 0;
bool g_drawing = false;
std::uint64_t g_moves = 0;

void log_line(const Runtime& rt, const std::string& utf8_line) {
    const std::string path = rt.run_directory() + "\\events.log";
    const int length = MultiByteToWideChar(936, 0, path.data(), int(path.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(936, 0, path.data(), int(path.size()), wide.data(), length);
    if (std::FILE* file = _wfopen(wide.c_str(), L"ab")) {
        std::fprintf(file, "%s\n", utf8_line.c_str());
        std::fclose(file);
    }
}

std::string numbers(const EventArgs& args) {
    std::string out;
    for (std::size_t i = 0; i < args.count(); ++i)
        out += " " + std::to_string(args.integer(i));
    return out;
}

void start(const Runtime& rt, const EventArgs&) {
    rt.hand_over_cleanup(h::cleanup);
    rt.load_main_window(kMain);
    rt.run_message_loop();
    rt.end_program(0);
}

void main_created(const Runtime& rt, const EventArgs&) {
    // One copy at a time, as the product does it.
    std::string own = rt.program_file_name();
    for (std::size_t at = own.find("exe"); at != std::string::npos; at = own.find("exe", at + 3))
        own.replace(at, 3, "EXE");
    int matches = 0;
    const std::vector<std::string> names = rt.process_names();
    for (const std::string& name : names)
        if (name == own && ++matches == 2) {
            log_line(rt, "second copy ends");
            rt.end_program(0);
        }
    log_line(rt, "processes " + std::to_string(names.size()) + " matches " + std::to_string(matches));
    rt.set_text(main_own, PropertyId::text, gbk("测试程序V1"));
    const Control device{kMain, kDevice, cls::input_device};
    rt.input_device_enable(device, true);
    rt.input_device_command(device, contract::library_command::kInputDeviceInterval, 50);
    rt.input_device_command(device, contract::library_command::kInputDeviceMode, 0);
    rt.set_flag(main_own, PropertyId::visible, true);
    const Control balloon{kMain, kBalloon, cls::balloon_tip};
    rt.attach_tip(balloon, {kMain, kCopy, cls::picture_button}, gbk("复制截图到剪贴板"));
    rt.attach_tip(balloon, {kMain, kAbout, cls::picture_button}, gbk("查看软件信息"));
    rt.set_font_name({kMain, kFontPicker, cls::font_picker}, gbk("宋体"));
    rt.canvas_rectangle(canvas, 10, 30, 60, 70);
    rt.canvas_ellipse(canvas, 70, 30, 120, 70);
    rt.canvas_write_text(canvas, 10, 80, gbk("画板"));
    const std::string desktop = rt.special_folder(kDesktopFolder);
    const std::string target = rt.run_directory() + "\\" + rt.program_file_name();
    const bool linked = rt.create_shortcut(desktop + gbk("测试程序"), target);
    log_line(rt, "created " + utf8(rt.run_directory()) + " " + utf8(rt.program_file_name()) + " screen " +
                     std::to_string(rt.screen_width()) + "x" + std::to_string(rt.screen_height()) +
                     " shortcut " + std::to_string(linked) + " " + utf8(desktop));
}

void main_destroyed(const Runtime& rt, const EventArgs&) {
    log_line(rt, "main destroyed");
    rt.end_program(0);
}

void copy_clicked(const Runtime& rt, const EventArgs&) {
    log_line(rt, "clicked 按钮_复制");
}

void zoom_clicked(const Runtime& rt, const EventArgs&) {
    // Each click turns staying on top over.
    rt.set_flag(main_own, PropertyId::stay_on_top, !rt.flag(main_own, PropertyId::stay_on_top));
    log_line(rt, "clicked 按钮_放大");
}

void about_clicked(const Runtime& rt, const EventArgs&) {
    log_line(rt, "about");
    const int answer = rt.message_box(gbk("测试程序\n关于这个程序"), 0, gbk("关于本软件"));
    log_line(rt, "about answered " + std::to_string(answer));
}

void open_dialog_clicked(const Runtime& rt, const EventArgs&) {
    rt.load_window(kDialog, 0, true);
    log_line(rt, "dialog returned");
}

void snapshot_clicked(const Runtime& rt, const EventArgs&) {
    const facade::Block shot = rt.snapshot();
    rt.set_block(picture_box, PropertyId::picture, shot);
    const std::uint64_t object = rt.create_picture_object(shot);
    const auto bitmap = std::uint64_t(std::int64_t(rt.object_number(object, "Handle")));
    rt.call_dll(kOpenClipboard, {rt.window_handle(main_own)});
    rt.call_dll(kEmptyClipboard, {});
    rt.call_dll(kSetClipboardData, {kBitmapFormat, bitmap});
    rt.call_dll(kCloseClipboard, {});
    rt.release_object(object);
    log_line(rt, "snapshot " + std::to_string(shot.size()) + " bytes");
}

void check_clicked(const Runtime& rt, const EventArgs&) {
    log_line(rt,
             "checked " + std::to_string(rt.integer({kMain, kCheck, cls::check_box}, PropertyId::checked)));
}

void edit_changed(const Runtime& rt, const EventArgs&) {
    log_line(rt, "text " + utf8(rt.text({kMain, kEdit, cls::edit_box}, PropertyId::text)));
}

void label_pressed(const Runtime& rt, const EventArgs& args) {
    log_line(rt, "label pressed" + numbers(args));
}

void picture_double_clicked(const Runtime& rt, const EventArgs& args) {
    log_line(rt, "picture double-clicked" + numbers(args));
}

void picture_right_pressed(const Runtime& rt, const EventArgs& args) {
    log_line(rt, "picture right-pressed" + numbers(args));
    rt.popup_menu(kMain, kMenu);
    log_line(rt, "popup returned");
}

void canvas_pressed(const Runtime& rt, const EventArgs& args) {
    g_press_x = args.integer(0);
    g_press_y = args.integer(1);
    g_drawing = true;
    log_line(rt, "canvas pressed" + numbers(args));
}

void canvas_released(const Runtime& rt, const EventArgs& args) {
    if (g_drawing)
        rt.canvas_line(canvas, g_press_x, g_press_y, args.integer(0), args.integer(1));
    g_drawing = false;
    log_line(rt, "canvas released" + numbers(args));
    // What the canvas holds comes back as a bitmap file of its size.
    const facade::Block block = rt.canvas_picture(canvas);
    const ByteView picture = block.view();
    if (picture.size() >= 26)
        log_line(rt, "canvas picture " + std::to_string(load_u32(picture.data() + 18)) + "x" +
                         std::to_string(load_u32(picture.data() + 22)) + " text width " +
                         std::to_string(rt.canvas_text_width(canvas, gbk("画板"))));
}

void canvas_moved(const Runtime& rt, const EventArgs& args) {
    if (g_drawing)
        log_line(rt, "canvas dragged" + numbers(args));
}

void timer_elapsed(const Runtime& rt, const EventArgs&) {
    rt.set_integer({kMain, kOnceTimer, cls::timer}, PropertyId::interval, 0);
    log_line(rt, "timer");
}

void device_moved(const Runtime& rt, const EventArgs& args) {
    // Only the first few: the pointer moves a lot in a scenario.
    if (++g_moves <= 20)
        log_line(rt, "device moved" + numbers(args));
}

void device_button(const Runtime& rt, const EventArgs& args) {
    log_line(rt, "device button" + numbers(args));
}

void save_clicked(const Runtime& rt, const EventArgs&) {
    const Control dialog{kMain, kFileDialog, cls::file_dialog};
    rt.set_integer(dialog, PropertyId::dialog_type, 1);
    rt.set_text(dialog, PropertyId::filter, gbk("*.jpg|*.jpg|*.bmp|*.bmp"));
    rt.open_file_dialog(dialog);
    const std::string name = rt.text(dialog, PropertyId::file_name);
    log_line(rt, name.empty() ? "save cancelled" : "save " + utf8(name));
}

void menu_clear(const Runtime& rt, const EventArgs&) {
    rt.set_bytes(picture_box, PropertyId::picture, Bytes{});
    log_line(rt, "menu 清除图片");
}

void menu_copy(const Runtime& rt, const EventArgs&) {
    log_line(rt, "menu 复制图片");
}

void dialog_created(const Runtime& rt, const EventArgs&) {
    log_line(rt, "dialog created");
}

void dialog_destroyed(const Runtime& rt, const EventArgs&) {
    log_line(rt, "dialog destroyed");
}

void dialog_close_clicked(const Runtime& rt, const EventArgs&) {
    rt.close_window(kDialog);
}

void edit_key(const Runtime& rt, const EventArgs& args) {
    log_line(rt, "key" + numbers(args));
}

void colour_chosen(const Runtime& rt, const EventArgs&) {
    log_line(rt, "colour " + std::to_string(
                                 rt.integer({kMain, kColourPicker, cls::colour_picker}, PropertyId::colour)));
}

void font_chosen(const Runtime& rt, const EventArgs&) {
    log_line(rt, "font " + utf8(rt.font_name({kMain, kFontPicker, cls::font_picker})));
}

void graphic_clicked(const Runtime& rt, const EventArgs&) {
    log_line(rt, "clicked 图形按钮1");
}

// Green in the middle, red within four pixels of the edge, written only
// when it changes: the enlarged view's labels do the same.
void hover_moved(const Runtime& rt, const EventArgs& args) {
    const Control label{kDialog, kDialogHover, cls::transparent_label};
    const std::int64_t x = args.integer(0), y = args.integer(1);
    const std::int64_t w = rt.integer(label, PropertyId::width), h = rt.integer(label, PropertyId::height);
    const bool inside = x > 4 && x < w - 4 && y > 4 && y < h - 4;
    const std::int64_t wanted = inside ? 0x0000FF00 : 0x000000FF;
    if (rt.integer(label, PropertyId::text_colour) == wanted)
        return;
    rt.set_integer(label, PropertyId::text_colour, wanted);
    log_line(rt, inside ? "hover green" : "hover red");
}

void failure_clicked(const Runtime& rt, const EventArgs&) {
    log_line(rt, "breaking the contract");
    // A push button has no interval: the runtime reports the broken contract.
    rt.integer({kDialog, kDialogClose, cls::push_button}, PropertyId::interval);
    log_line(rt, "still running");
}

// As the product prints: through a file, a picture id and the printer.
void print_clicked(const Runtime& rt, const EventArgs&) {
    const Control printer{kDialog, kDialogPrinter, cls::printer};
    const std::string path = rt.run_directory() + "\\print.bmp";
    rt.write_file(path, rt.snapshot().view());
    const std::int64_t picture = rt.load_picture_file(path);
    rt.printer_draw_picture(printer, picture, 0, 0, rt.picture_width(path), rt.picture_height(path), 1);
    rt.printer_end_job(printer, true, false, 4, 0);
    log_line(rt, "printed");
}

void cleanup(const Runtime& rt, const EventArgs&) {
    log_line(rt, "cleanup");
}

using Handler = void (*)(const Runtime&, const EventArgs&);

const std::map<std::uint32_t, Handler>& handlers() {
    static const std::map<std::uint32_t, Handler> table = {
        {h::start, start},
        {h::main_created, main_created},
        {h::main_destroyed, main_destroyed},
        {h::copy_clicked, copy_clicked},
        {h::zoom_clicked, zoom_clicked},
        {h::about_clicked, about_clicked},
        {h::open_dialog_clicked, open_dialog_clicked},
        {h::snapshot_clicked, snapshot_clicked},
        {h::check_clicked, check_clicked},
        {h::edit_changed, edit_changed},
        {h::label_pressed, label_pressed},
        {h::picture_double_clicked, picture_double_clicked},
        {h::picture_right_pressed, picture_right_pressed},
        {h::canvas_pressed, canvas_pressed},
        {h::canvas_released, canvas_released},
        {h::canvas_moved, canvas_moved},
        {h::timer_elapsed, timer_elapsed},
        {h::device_moved, device_moved},
        {h::device_button, device_button},
        {h::save_clicked, save_clicked},
        {h::menu_clear, menu_clear},
        {h::menu_copy, menu_copy},
        {h::dialog_created, dialog_created},
        {h::dialog_destroyed, dialog_destroyed},
        {h::dialog_close_clicked, dialog_close_clicked},
        {h::cleanup, cleanup},
        {h::edit_key, edit_key},
        {h::colour_chosen, colour_chosen},
        {h::font_chosen, font_chosen},
        {h::graphic_clicked, graphic_clicked},
        {h::hover_moved, hover_moved},
        {h::failure_clicked, failure_clicked},
        {h::print_clicked, print_clicked},
    };
    return table;
}

} // namespace

} // namespace vorn::testprog

// Exported under the contract's name; the C++ name stays clear of the
// contract header's own declarations.
extern "C" __declspec(dllexport) std::uint64_t
    testprog_dispatch(const VornServices* services, std::uint32_t code_offset,
                      const VornArgs* args) __asm__("VornDispatch");

extern "C" std::uint64_t testprog_dispatch(const VornServices* services, std::uint32_t code_offset,
                                           const VornArgs* args) {
    static const VornArgs none{0, nullptr};
    const auto& table = vorn::testprog::handlers();
    if (auto it = table.find(code_offset); it != table.end())
        it->second(vorn::facade::Runtime(*services), vorn::facade::EventArgs(args != nullptr ? *args : none));
    return 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    vorn::Bytes image;
    try {
        image = vorn::testprog::build_image();
    } catch (const std::exception& failure) {
        MessageBoxA(nullptr, failure.what(), "testprog", MB_OK);
        return 2;
    }
    vorn::startup::Win32System system;
    ExitProcess(static_cast<UINT>(vorn::startup::run_stub(system, image.data())));
}
