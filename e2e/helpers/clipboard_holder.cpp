// Test helper run under Wine: another program that keeps the clipboard open,
// as a clipboard manager or a hung program may.
//
//   clipboard_holder SECONDS    opens the clipboard, prints "held", keeps it
//                               open SECONDS (0: until killed), closes it and
//                               prints "released"
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const int seconds = std::atoi(argv[1]);
    // A window of its own: the clipboard is opened in its name.
    HWND owner = CreateWindowExW(0, L"STATIC", L"clipboard holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    for (int attempt = 0; !OpenClipboard(owner); ++attempt) {
        if (attempt == 100)
            return 1;
        Sleep(50);
    }
    std::printf("held\n");
    std::fflush(stdout);
    if (seconds <= 0)
        for (;;)
            Sleep(1000);
    Sleep(DWORD(seconds) * 1000);
    CloseClipboard();
    std::printf("released\n");
    std::fflush(stdout);
    return 0;
}
