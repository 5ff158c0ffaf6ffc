#include "startup/win32_system.h"

#include <windows.h>

#include <vector>

namespace vorn::startup {

namespace {

// The runtime's entry export and the routine it returns; both take one
// argument on the stack in the 32-bit convention, which on x86_64 is the
// ordinary calling convention.
using EntryExport = std::uintptr_t(WINAPI*)(std::uint32_t);
using EntryRoutine = void(WINAPI*)(const void*);

constexpr REGSAM kInstallKeyAccess = 0x20019; // KEY_READ

} // namespace

void Win32System::restrict_library_search() {
    // Windows 7 has SetDefaultDllDirectories only with an update, so it is
    // looked up rather than imported: an import that is missing would keep
    // the program from starting at all. kernel32 is always loaded.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (found != nullptr)
        reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(found))(
            LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without that function this at least takes the current directory out of
    // the search; with it, it changes nothing.
    SetDllDirectoryW(L"");
}

std::string Win32System::module_path() {
    // Read the whole path, however deep the install directory: the buffer
    // grows until GetModuleFileNameA no longer truncates.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        if (buffer.size() >= 32768)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

LibraryHandle Win32System::load_library(const std::string& path) {
    return LoadLibraryA(path.c_str());
}

ProcAddress Win32System::find_export(LibraryHandle library, const char* name) {
    return reinterpret_cast<ProcAddress>(GetProcAddress(static_cast<HMODULE>(library), name));
}

std::uintptr_t Win32System::request_entry(ProcAddress entry_export, std::uint32_t request) {
    return reinterpret_cast<EntryExport>(entry_export)(request);
}

void Win32System::run_program(std::uintptr_t entry_routine, const void* image) {
    reinterpret_cast<EntryRoutine>(entry_routine)(image);
}

std::optional<std::string> Win32System::read_install_path() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kInstallKey, 0, kInstallKeyAccess, &key) != ERROR_SUCCESS)
        return std::nullopt;
    // One spare byte beyond the read limit keeps the text terminated even when
    // the stored value lacks its terminator.
    char buffer[kPathBufferSize] = {};
    DWORD size = kInstallPathLimit;
    LONG status =
        RegQueryValueExA(key, kInstallValue, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(buffer);
}

void Win32System::free_library(LibraryHandle library) {
    FreeLibrary(static_cast<HMODULE>(library));
}

void Win32System::message_box(const char* text, const char* caption, unsigned style) {
    MessageBoxA(nullptr, text, caption, style);
}

void Win32System::exit_process(int code) {
    ExitProcess(static_cast<UINT>(code));
}

} // namespace vorn::startup
