// Test probe run under Wine beside the program: looks at top-level windows from
// the inside, where X11 tools cannot see controls, and prints what it finds as
// UTF-8 lines on standard output.
//
//   winprobe where TITLE TEXT          print "x y", the screen centre of the control showing
//                                      TEXT in the top-level window titled TITLE
//   winprobe tooltip TIMEOUT_MS        wait for a visible tooltip and print "tip=<its text>"
//                                      (Wine's tooltips report no text across processes:
//                                      then "tip=")
//   winprobe msgbox TITLE TIMEOUT_MS   wait for a message box titled TITLE and print
//                                      "text=...", "icon=stop|information|...|none",
//                                      "button=<command id>"
//   winprobe clipboard-bitmap FILE     write the clipboard's bitmap as Windows programs
//                                      see it (CF_DIB) to FILE as a BMP file
#include "window_text.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using probe::class_name;
using probe::print_line;
using probe::utf8;
using probe::window_text;

// Icons are compared by their pixels as shown on screen: Wine's icon handles
// belong to the process that loaded them, so the message box's handle cannot
// be drawn from here.
constexpr int kIconSize = 32;

std::vector<std::uint32_t> grab(HDC source, int x, int y) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kIconSize, -kIconSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, kIconSize, kIconSize, source, x, y, SRCCOPY);
    GdiFlush();
    auto* pixels = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> out(pixels, pixels + kIconSize * kIconSize);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return out;
}

// A system icon drawn on the dialog background, as a message box shows it.
std::vector<std::uint32_t> render_system_icon(int id) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kIconSize, kIconSize);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, kIconSize, kIconSize};
    FillRect(dc, &all, GetSysColorBrush(COLOR_3DFACE));
    DrawIconEx(dc, 0, 0, LoadIconW(nullptr, MAKEINTRESOURCEW(id)), kIconSize, kIconSize, 0, nullptr,
               DI_NORMAL);
    std::vector<std::uint32_t> out = grab(dc, 0, 0);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return out;
}

const char* icon_kind_now(HWND icon_control) {
    RECT rect{};
    GetWindowRect(icon_control, &rect);
    HDC screen = GetDC(nullptr);
    std::vector<std::uint32_t> shown = grab(screen, rect.left, rect.top);
    ReleaseDC(nullptr, screen);
    struct Known {
        int id;
        const char* name;
    };
    for (Known known : {Known{32513, "stop"}, Known{32514, "question"}, Known{32515, "warning"},
                        Known{32516, "information"}}) {
        if (render_system_icon(known.id) == shown)
            return known.name;
    }
    return "other";
}

// The box may be found before it is painted: look again for up to two seconds.
const char* icon_kind(HWND icon_control) {
    const char* kind = icon_kind_now(icon_control);
    for (int attempt = 0; attempt < 40 && std::string(kind) == "other"; ++attempt) {
        Sleep(50);
        kind = icon_kind_now(icon_control);
    }
    return kind;
}

BOOL CALLBACK describe_child(HWND child, LPARAM) {
    std::wstring cls = class_name(child);
    LONG style = GetWindowLongW(child, GWL_STYLE);
    if (_wcsicmp(cls.c_str(), L"Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON) {
            bool shown = SendMessageW(child, STM_GETICON, 0, 0) != 0 && IsWindowVisible(child);
            print_line(std::string("icon=") + (shown ? icon_kind(child) : "none"));
        } else if (!window_text(child).empty()) {
            print_line("text=" + utf8(window_text(child)));
        }
    } else if (_wcsicmp(cls.c_str(), L"Button") == 0 && (style & WS_VISIBLE)) {
        // By command id (IDOK = 1, IDCANCEL = 2, ...): the captions are localised.
        print_line("button=" + std::to_string(GetDlgCtrlID(child)));
    }
    return TRUE;
}

int probe_message_box(const std::wstring& title, DWORD timeout_ms) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND box = FindWindowW(L"#32770", title.c_str());
        if (box != nullptr) {
            print_line("title=" + utf8(window_text(box)));
            EnumChildWindows(box, describe_child, 0);
            return 0;
        }
        if (GetTickCount() - start > timeout_ms) {
            print_line("timeout: no message box titled " + utf8(title));
            return 1;
        }
        Sleep(50);
    }
}

struct ChildSearch {
    std::wstring text;
    HWND found = nullptr;
};

BOOL CALLBACK find_child_by_text(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<ChildSearch*>(context);
    if (IsWindowVisible(child) && window_text(child) == search->text) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

int print_control_centre(const std::wstring& title, const std::wstring& text) {
    HWND top = FindWindowW(nullptr, title.c_str());
    if (top == nullptr) {
        print_line("no window titled " + utf8(title));
        return 1;
    }
    ChildSearch search{text};
    EnumChildWindows(top, find_child_by_text, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
        print_line("no control showing " + utf8(text));
        return 1;
    }
    RECT rect{};
    GetWindowRect(search.found, &rect);
    print_line(std::to_string((rect.left + rect.right) / 2) + " " +
               std::to_string((rect.top + rect.bottom) / 2));
    return 0;
}

BOOL CALLBACK find_visible_tooltip(HWND window, LPARAM context) {
    if (IsWindowVisible(window) && _wcsicmp(class_name(window).c_str(), L"tooltips_class32") == 0) {
        *reinterpret_cast<HWND*>(context) = window;
        return FALSE;
    }
    return TRUE;
}

int probe_tooltip(DWORD timeout_ms) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND tip = nullptr;
        EnumWindows(find_visible_tooltip, reinterpret_cast<LPARAM>(&tip));
        if (tip != nullptr) {
            print_line("tip=" + utf8(window_text(tip)));
            return 0;
        }
        if (GetTickCount() - start > timeout_ms) {
            print_line("timeout: no tooltip shown");
            return 1;
        }
        Sleep(50);
    }
}

bool open_clipboard() {
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (OpenClipboard(nullptr))
            return true;
        Sleep(50);
    }
    return false;
}

// The file header's offset to the pixels: past the info header, its colour
// masks and its colour table.
DWORD pixel_offset(const BITMAPINFOHEADER& header) {
    DWORD offset = sizeof(BITMAPFILEHEADER) + header.biSize;
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER))
        offset += 3 * sizeof(DWORD);
    const DWORD colours = header.biClrUsed != 0    ? header.biClrUsed
                          : header.biBitCount <= 8 ? (1u << header.biBitCount)
                                                   : 0;
    return offset + colours * sizeof(RGBQUAD);
}

int write_clipboard_bitmap(const wchar_t* path) {
    if (!open_clipboard()) {
        print_line("the clipboard cannot be opened");
        return 1;
    }
    int status = 1;
    const HANDLE data = GetClipboardData(CF_DIB);
    const auto* dib = data != nullptr ? static_cast<const std::uint8_t*>(GlobalLock(data)) : nullptr;
    const SIZE_T size = data != nullptr ? GlobalSize(data) : 0;
    if (dib != nullptr && size >= sizeof(BITMAPINFOHEADER)) {
        const auto& header = *reinterpret_cast<const BITMAPINFOHEADER*>(dib);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42; // "BM"
        file.bfSize = DWORD(sizeof file + size);
        file.bfOffBits = pixel_offset(header);
        if (FILE* out = _wfopen(path, L"wb")) {
            const bool written =
                std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(dib, 1, size, out) == size;
            status = std::fclose(out) == 0 && written ? 0 : 1;
        }
        print_line(status == 0 ? "written" : "cannot write the file");
    } else {
        print_line("no bitmap");
    }
    if (dib != nullptr)
        GlobalUnlock(data);
    CloseClipboard();
    return status;
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc == 4 && std::wstring(argv[1]) == L"msgbox")
        return probe_message_box(argv[2], DWORD(_wtoi(argv[3])));
    if (argc == 4 && std::wstring(argv[1]) == L"where")
        return print_control_centre(argv[2], argv[3]);
    if (argc == 3 && std::wstring(argv[1]) == L"tooltip")
        return probe_tooltip(DWORD(_wtoi(argv[2])));
    if (argc == 3 && std::wstring(argv[1]) == L"clipboard-bitmap")
        return write_clipboard_bitmap(argv[2]);
    std::fputs("usage: winprobe msgbox TITLE TIMEOUT_MS | where TITLE TEXT | tooltip TIMEOUT_MS | "
               "clipboard-bitmap FILE\n",
               stderr);
    return 2;
}
