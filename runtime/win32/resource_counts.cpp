#include "runtime/win32/resource_counts.h"

#include <psapi.h>

namespace vorn::win32 {

namespace {

// Wine numbers GDI objects by their slot in a per-process table and accepts
// a handle without its generation in the high word; user objects (menus,
// icons, cursors) likewise, at twice the slot plus 0x20.
constexpr UINT_PTR kGdiSlots = 0x10000;
constexpr UINT_PTR kFirstUserHandle = 0x20;
constexpr UINT_PTR kUserSlots = (0xffef - kFirstUserHandle + 1) / 2;

std::uint32_t scanned_gdi_objects() {
    std::uint32_t count = 0;
    for (UINT_PTR slot = 1; slot < kGdiSlots; ++slot)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0)
            ++count;
    return count;
}

bool is_icon(HANDLE handle) {
    ICONINFO info{};
    if (!GetIconInfo(static_cast<HICON>(handle), &info))
        return false;
    if (info.hbmMask != nullptr)
        DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);
    return true;
}

BOOL CALLBACK count_child(HWND, LPARAM count) {
    ++*reinterpret_cast<std::uint32_t*>(count);
    return TRUE;
}

BOOL CALLBACK count_own_window(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<std::uint32_t*>(count);
        EnumChildWindows(window, count_child, count);
    }
    return TRUE;
}

std::uint32_t scanned_user_objects() {
    std::uint32_t count = 0;
    EnumWindows(count_own_window, reinterpret_cast<LPARAM>(&count));
    for (HWND window = nullptr; (window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr;)
        count_own_window(window, reinterpret_cast<LPARAM>(&count));
    for (UINT_PTR slot = 0; slot < kUserSlots; ++slot) {
        const auto handle = reinterpret_cast<HANDLE>(slot * 2 + kFirstUserHandle);
        if (IsMenu(static_cast<HMENU>(handle)) || is_icon(handle))
            ++count;
    }
    return count;
}

std::uint32_t gdi_objects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    return reported != 0 ? reported : scanned_gdi_objects();
}

std::uint32_t user_objects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    return reported != 0 ? reported : scanned_user_objects();
}

// Kernel handles are multiples of four, handed out lowest free first: the
// scan ends a good way past the last one in use.
constexpr UINT_PTR kHandleStep = 4;
constexpr UINT_PTR kHandleGapEnd = 4096;

std::uint32_t scanned_handles() {
    std::uint32_t count = 0;
    UINT_PTR gap = 0;
    for (UINT_PTR value = kHandleStep; gap < kHandleGapEnd; value += kHandleStep) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++count;
            gap = 0;
        } else {
            ++gap;
        }
    }
    return count;
}

std::uint32_t handles() {
    DWORD count = 0;
    return GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0 ? count : scanned_handles();
}

// The commit charge: what the system reports as private bytes (Wine fills
// only this older field, from the anonymous resident and swapped memory).
std::uint64_t private_kib() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
               ? counters.PagefileUsage / 1024
               : 0;
}

} // namespace

UINT resource_counts_message() {
    static const UINT message = RegisterWindowMessageW(kResourceCountsMessage);
    return message;
}

LRESULT count_resource(WPARAM which) {
    switch (static_cast<ResourceCount>(which)) {
    case ResourceCount::gdi_objects:
        return LRESULT(gdi_objects());
    case ResourceCount::user_objects:
        return LRESULT(user_objects());
    case ResourceCount::handles:
        return LRESULT(handles());
    case ResourceCount::private_kib:
        return LRESULT(private_kib());
    }
    return -1;
}

} // namespace vorn::win32
