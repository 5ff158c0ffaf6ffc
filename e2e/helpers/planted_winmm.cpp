// Test helper: a stand-in for a system library, planted beside the tool as a
// download folder might hold one. It offers what the runtime imports from
// winmm.dll, and when any process loads it, it leaves a file named as it was
// loaded, with ".loaded" added, beside itself: a test that finds that file
// knows the planted copy was taken for the system's.

// Lean, so that windows.h does not declare PlaySoundW as an import.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

namespace {

void leave_mark(HINSTANCE self) {
    wchar_t path[MAX_PATH + 16] = {};
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const std::wstring mark = std::wstring(path, length) + L".loaded";
    HANDLE file =
        CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        leave_mark(self);
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI PlaySoundW(LPCWSTR, HMODULE, DWORD) {
    return TRUE;
}
