// What the probe programs read of a window and how they print it: UTF-8
// lines on standard output, flushed at once so that the script reading them
// sees each as soon as it is written.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace probe {

inline std::string utf8(const std::wstring& wide) {
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), length, nullptr, nullptr);
    return out;
}

inline std::wstring window_text(HWND window) {
    wchar_t buffer[4096] = {};
    GetWindowTextW(window, buffer, 4096);
    return buffer;
}

inline std::wstring class_name(HWND window) {
    wchar_t buffer[256] = {};
    GetClassNameW(window, buffer, 256);
    return buffer;
}

inline void print_line(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace probe
