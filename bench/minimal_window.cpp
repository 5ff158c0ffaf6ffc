// The least a Win32 program does to show a window: the baseline of the
// start-up benchmark. Shows "最小窗口" and runs its message loop until closed.
#include <windows.h>

namespace {

LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW description{};
    description.lpfnWndProc = procedure;
    description.hInstance = instance;
    description.lpszClassName = L"MinimalWindow";
    description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&description);
    CreateWindowExW(0, L"MinimalWindow", L"\u6700\u5c0f\u7a97\u53e3", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                    50, 678, 514, nullptr, nullptr, instance, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
