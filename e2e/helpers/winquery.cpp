// Test probe run under Wine beside the program: reports the windows of a
// top-level window from the inside, where X11 tools cannot see controls,
// as UTF-8 lines on standard output.
//
//   winquery tree TITLE TIMEOUT_MS   wait for the top-level window titled TITLE
//                                    and print it, then every child window in
//                                    Z order (topmost first), indented by depth:
//                                    "class=... text=... rect=x,y,w,h visible=0|1
//                                    enabled=0|1", and checked=0|1 for a check box
//                                    (children: rect in the parent's
//                                    client pixels; the window: on the screen,
//                                    with client=x,y,w,h, its client area on the
//                                    screen, and topmost=0|1)
//   winquery close TITLE             post WM_CLOSE to it, as its close box would
//   winquery resources TITLE         what the process owning that window holds:
//                                    "gdi=N user=N handles=N private_kib=N", as
//                                    the window answers the runtime's resource
//                                    counting message
//   winquery list                    every top-level window: "class=... text=...
//                                    visible=0|1 enabled=0|1 rect=x,y,w,h"
#include "window_text.h"

#include "runtime/win32/resource_counts.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <iterator>
#include <string>

namespace {

constexpr int kPollMilliseconds = 100;
constexpr int kMaxDepth = 16;

using probe::class_name;
using probe::print_line;
using probe::utf8;
using probe::window_text;

std::string describe(HWND window) {
    return "class=" + utf8(class_name(window)) + " text=" + utf8(window_text(window)) +
           " visible=" + std::to_string(IsWindowVisible(window) ? 1 : 0) +
           " enabled=" + std::to_string(IsWindowEnabled(window) ? 1 : 0);
}

std::string rect_text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) +
           "," + std::to_string(r.bottom - r.top);
}

void print_children(HWND parent, int depth) {
    if (depth > kMaxDepth)
        return;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        // A check box's state is not in its text: asked for across the process, as BM_GETCHECK needs
        // no data marshalled.
        const std::string checked =
            class_name(child).find(L"CheckBox") != std::wstring::npos
                ? " checked=" + std::to_string(SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0)
                : std::string();
        print_line(std::string(std::size_t(2 * depth), ' ') + describe(child) + " rect=" + rect_text(r) +
                   checked);
        print_children(child, depth + 1);
    }
}

BOOL CALLBACK print_top_level(HWND window, LPARAM) {
    RECT r{};
    GetWindowRect(window, &r);
    print_line(describe(window) + " rect=" + rect_text(r));
    return TRUE;
}

HWND wait_for(const std::wstring& title, int timeout) {
    for (int waited = 0;; waited += kPollMilliseconds) {
        if (HWND found = FindWindowW(nullptr, title.c_str()))
            return found;
        if (waited >= timeout)
            return nullptr;
        Sleep(kPollMilliseconds);
    }
}

// The names, in the order of vorn::win32::ResourceCount.
constexpr const char* kResourceNames[] = {"gdi", "user", "handles", "private_kib"};
constexpr UINT kAnswerMilliseconds = 10000;

bool print_resources(HWND window) {
    const UINT message = RegisterWindowMessageW(vorn::win32::kResourceCountsMessage);
    std::string line;
    for (WPARAM which = 0; which < std::size(kResourceNames); ++which) {
        DWORD_PTR answer = 0;
        if (message == 0 ||
            !SendMessageTimeoutW(window, message, which, 0, SMTO_ABORTIFHUNG, kAnswerMilliseconds, &answer)) {
            std::fputs("the window did not answer\n", stderr);
            return false;
        }
        line += std::string(line.empty() ? "" : " ") + kResourceNames[which] + "=" +
                std::to_string(static_cast<long long>(answer));
    }
    print_line(line);
    return true;
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc == 2 && std::wstring(argv[1]) == L"list") {
        EnumWindows(print_top_level, 0);
        return 0;
    }
    if (argc < 3) {
        std::fputs("usage: winquery tree TITLE TIMEOUT_MS | close TITLE | resources TITLE | list\n", stderr);
        return 2;
    }
    const std::wstring command = argv[1];
    const std::wstring title = argv[2];
    const int timeout = argc > 3 ? _wtoi(argv[3]) : 0;
    HWND window = wait_for(title, timeout);
    if (window == nullptr) {
        std::fputs("no such window\n", stderr);
        return 1;
    }
    if (command == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (command == L"resources")
        return print_resources(window) ? 0 : 1;
    RECT r{}, client{};
    GetWindowRect(window, &r);
    GetClientRect(window, &client);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    const bool topmost = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    print_line("window " + describe(window) + " rect=" + rect_text(r) + " client=" + rect_text(client) +
               " topmost=" + std::to_string(topmost ? 1 : 0));
    print_children(window, 1);
    return 0;
}
