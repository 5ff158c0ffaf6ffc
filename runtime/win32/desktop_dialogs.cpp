// The desktop's services that show something to the user or act on one
// control: message boxes, popup menus, focus, file dialogs, tips, the input
// device, canvases and the printer.
#include "runtime/win32/win32_desktop.h"

#include "runtime/core/engine/engine.h"
#include "runtime/win32/components/balloon_tip.h"
#include "runtime/win32/components/input_device.h"
#include "runtime/win32/components/printer.h"
#include "runtime/win32/controls/canvas.h"
#include "runtime/win32/controls/top_window.h"
#include "runtime/win32/portable/dpi_scale.h"
#include "runtime/win32/portable/shell_text.h"
#include "runtime/win32/text.h"
#include "runtime/win32/trace.h"
#include "text/gbk.h"
#include "text/wide.h"

#include <commdlg.h>

#include <vector>

namespace vorn::win32 {

namespace {

// The window-object command that brings a window to the foreground.
constexpr std::int64_t kCommandForeground = 2;
constexpr std::int64_t kSaveDialog = 1;
// Long enough for any path the shell takes, with the terminator.
constexpr std::size_t kPathBuffer = 32768;

// Does nothing: stands in for a canvas whose control could not be found,
// which the engine's own checks make impossible in a running program.
class NoSurface final : public runtime::CanvasSurface {
  public:
    void set_background(ByteView, std::uint32_t) override {}
    void clear(std::uint32_t) override {}
    void draw(const runtime::DrawOp&) override {}
    void copy_from(runtime::CanvasSurface&, runtime::CopyRect, std::int32_t, std::int32_t,
                   std::uint32_t) override {}
    runtime::ProgramBlock picture(std::int32_t, std::int32_t) override {
        return runtime::picture_of_rows(nullptr, 0, 0, 0);
    }
    picture::Image pixels() override { return {}; }
    std::int32_t text_width(const std::string&, const std::optional<forms::Font>&) override { return 0; }
    void resize(std::int32_t, std::int32_t) override {}
    std::int32_t width() const override { return 0; }
    std::int32_t height() const override { return 0; }
};

std::wstring extension_without_dot(std::wstring extension) {
    if (extension.rfind(L"*.", 0) == 0)
        extension.erase(0, 2);
    else if (extension.rfind(L".", 0) == 0)
        extension.erase(0, 1);
    return extension;
}

} // namespace

std::string Win32Desktop::default_title() {
    // A box without a title of its own carries the program's name: the
    // caption of its first window, or the executable's name.
    for (std::uint32_t id : engine_->loaded_windows())
        if (runtime::LiveWindow* window = engine_->window(id))
            if (std::string caption = window->own().text(PropertyId::text); !caption.empty())
                return caption;
    std::string name = program_file_name();
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos)
        name.erase(dot);
    return name;
}

int Win32Desktop::message_box(const std::string& text, const std::string& title, std::uint32_t style) {
    trace("message box \"" + utf8_from_gbk(text) + "\" \"" + utf8_from_gbk(title) + "\" style " +
          std::to_string(style));
    HWND owner = dialog_owner();
    const std::wstring shown_title = wide(title.empty() ? default_title() : title);
    const UINT flags = UINT(style) | (owner == nullptr ? MB_TASKMODAL : 0);
    const int answer = MessageBoxW(owner, wide(text).c_str(), shown_title.c_str(), flags);
    trace("message box answer " + std::to_string(answer));
    return answer;
}

void Win32Desktop::popup_menu(runtime::LiveWindow& window, runtime::LiveElement& menu,
                              std::optional<runtime::Point> at) {
    trace("popup menu " + hex(window.id) + " \"" + utf8_from_gbk(menu.text(PropertyId::text)) + "\"");
    TopWindow* top = top_window(window.id);
    if (top == nullptr)
        return;
    // The items that follow the menu, up to the next top-level menu, in
    // stored order; their command ids name their place in the window.
    HMENU popup = CreatePopupMenu();
    bool inside = false;
    for (std::size_t index = 0; index < window.elements.size(); ++index) {
        runtime::LiveElement& element = window.elements[index];
        const forms::MenuItemRecord* item = element.definition->menu_item();
        if (item == nullptr)
            continue;
        if (&element == &menu) {
            inside = true;
            continue;
        }
        if (!inside)
            continue;
        if (item->level == 0)
            break;
        if (element.integer(PropertyId::visible) != 0)
            AppendMenuW(popup, MF_STRING, TopWindow::kMenuCommandBase + index,
                        wide(element.text(PropertyId::text)).c_str());
    }
    POINT where{};
    if (at) {
        // A position the program gives is in the window's client area, in units.
        where = {to_pixels(at->x, top->dpi()), to_pixels(at->y, top->dpi())};
        ClientToScreen(top->hwnd(), &where);
    } else {
        GetCursorPos(&where);
    }
    // The chosen item comes as WM_COMMAND once the event that opened the
    // menu has been handled. The owner must be in the foreground, or the
    // menu would not close when the user clicks elsewhere.
    SetForegroundWindow(top->hwnd());
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, where.x, where.y, 0, top->hwnd(),
                   nullptr);
    PostMessageW(top->hwnd(), WM_NULL, 0, 0);
    DestroyMenu(popup);
}

void Win32Desktop::give_focus(runtime::LiveWindow& window, runtime::LiveElement& element) {
    trace("focus " + hex(window.id) + "/" + hex(element.id));
    if (HWND target = reinterpret_cast<HWND>(native_handle(window, element)))
        SetFocus(target);
}

std::uint64_t Win32Desktop::native_handle(runtime::LiveWindow& window, runtime::LiveElement& element) {
    TopWindow* top = top_window(window.id);
    if (top == nullptr)
        return 0;
    if (&element == &window.own())
        return reinterpret_cast<std::uintptr_t>(top->hwnd());
    Control* control = top->control(element.id);
    // Components have no window of their own.
    return control != nullptr ? reinterpret_cast<std::uintptr_t>(control->hwnd()) : 0;
}

void Win32Desktop::window_command(runtime::LiveWindow& window, runtime::LiveElement& element,
                                  std::int64_t command) {
    trace("window command " + hex(window.id) + "/" + hex(element.id) + " " + std::to_string(command));
    TopWindow* top = top_window(window.id);
    // The other commands of the window object have no use in this program.
    if (command != kCommandForeground || top == nullptr)
        return;
    SetForegroundWindow(top->hwnd());
    BringWindowToTop(top->hwnd());
}

std::optional<std::string> Win32Desktop::open_file_dialog(runtime::LiveWindow& window,
                                                          runtime::LiveElement& dialog) {
    const std::int64_t type = dialog.integer(PropertyId::dialog_type);
    trace("file dialog " + hex(window.id) + "/" + hex(dialog.id) + " type " + std::to_string(type));
    const std::wstring filter =
        text::to_wide(dialog_filter(text::gbk_to_utf16(dialog.text(PropertyId::filter))));
    const std::wstring extension = extension_without_dot(wide(dialog.text(PropertyId::default_extension)));
    std::vector<wchar_t> file(kPathBuffer, L'\0');
    const std::wstring initial = wide(dialog.text(PropertyId::file_name)).substr(0, kPathBuffer - 1);
    std::copy(initial.begin(), initial.end(), file.begin());

    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = dialog_owner();
    request.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = file.data();
    request.nMaxFile = DWORD(file.size());
    request.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    // No overwrite prompt: the program replaces the file it is given.
    request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
    if (type != kSaveDialog)
        request.Flags |= OFN_FILEMUSTEXIST;
    const BOOL chosen = type == kSaveDialog ? GetSaveFileNameW(&request) : GetOpenFileNameW(&request);
    if (!chosen) {
        trace("file dialog cancelled");
        return std::nullopt;
    }
    trace("file dialog -> \"" + utf8(file.data()) + "\"");
    return gbk(file.data());
}

void Win32Desktop::attach_tip(runtime::LiveWindow& tip_window, runtime::LiveElement& balloon,
                              runtime::LiveWindow& window, runtime::LiveElement& control,
                              const std::string& text) {
    trace("tip " + hex(window.id) + "/" + utf8_from_gbk(control.name()) + " \"" + utf8_from_gbk(text) + "\"");
    auto* tip = dynamic_cast<BalloonTip*>(component(tip_window, balloon));
    const auto target = reinterpret_cast<HWND>(native_handle(window, control));
    if (tip != nullptr && target != nullptr)
        tip->attach(target, wide(text));
}

void Win32Desktop::prepare_input_device(runtime::LiveWindow& window, runtime::LiveElement& device,
                                        std::uint32_t selector, std::int64_t value) {
    trace("input device " + hex(window.id) + "/" + hex(device.id) + " " + hex(selector) + " " +
          std::to_string(value));
    if (auto* input = dynamic_cast<InputDevice*>(component(window, device)))
        input->prepare(selector, value);
}

runtime::CanvasSurface& Win32Desktop::canvas(runtime::LiveWindow& window, runtime::LiveElement& element) {
    TopWindow* top = top_window(window.id);
    if (auto* control = top != nullptr ? dynamic_cast<CanvasControl*>(top->control(element.id)) : nullptr)
        return control->surface();
    static NoSurface none;
    return none;
}

void Win32Desktop::print_picture(runtime::LiveWindow& window, runtime::LiveElement& printer, ByteView picture,
                                 std::int32_t left, std::int32_t top, std::int32_t width,
                                 std::int32_t height) {
    trace("print picture " + hex(window.id) + "/" + hex(printer.id) + " " + std::to_string(picture.size()) +
          " bytes at " + std::to_string(left) + "," + std::to_string(top) + " size " + std::to_string(width) +
          "x" + std::to_string(height));
    if (auto* device = dynamic_cast<Printer*>(component(window, printer)))
        device->draw(picture, left, top, width, height);
}

void Win32Desktop::end_print_job(runtime::LiveWindow& window, runtime::LiveElement& printer) {
    trace("end print job " + hex(window.id) + "/" + hex(printer.id));
    if (auto* device = dynamic_cast<Printer*>(component(window, printer)))
        device->end_job(wide(default_title()));
}

} // namespace vorn::win32
