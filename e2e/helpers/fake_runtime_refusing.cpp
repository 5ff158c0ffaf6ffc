// A library whose entry export refuses the request. When it is released
// (FreeLibrary, not process exit) it leaves "<its path>.released" behind, so
// that a test can tell it was released before the error box appeared.
#include <windows.h>

#include <cstdint>

namespace {

HINSTANCE self = nullptr;

void mark_released() {
    wchar_t path[MAX_PATH + 16] = {};
    DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    lstrcatW(path, L".released");
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr)
        mark_released();
    return TRUE;
}

extern "C" __declspec(dllexport) std::uintptr_t WINAPI GetNewSock(std::uint32_t) {
    return 0;
}
