// Test helper run under Wine: changes the display's mode, as a user who
// picks another screen resolution does, and prints the screen's size after.
//
//   display_mode WIDTH HEIGHT    sets the mode; exit code 0 when taken
//   display_mode                 prints the size only
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    int code = 0;
    if (argc == 3) {
        DEVMODEW mode = {};
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = DWORD(std::atoi(argv[1]));
        mode.dmPelsHeight = DWORD(std::atoi(argv[2]));
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        const LONG result = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
        std::printf("result=%ld\n", result);
        code = result == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
    }
    std::printf("screen=%dx%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return code;
}
