// Test helper run under Wine: another program's window showing a known
// pattern, for the window capture to pick. A borderless window, so that its
// window rectangle is exactly the pattern.
//
//   pattern_window X Y WIDTH HEIGHT     shows "图案窗口" there until killed
//
// Pixel (x, y) is red x * 255 / (width - 1), green y * 255 / (height - 1),
// blue (x ^ y) & 0xFF; the test reads it off the screen rather than
// recomputing it.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

int g_width = 0;
int g_height = 0;
std::vector<std::uint32_t> g_pixels;

void make_pattern() {
    g_pixels.resize(std::size_t(g_width) * std::size_t(g_height));
    for (int y = 0; y < g_height; ++y)
        for (int x = 0; x < g_width; ++x) {
            const std::uint32_t red = std::uint32_t(x * 255 / (g_width > 1 ? g_width - 1 : 1));
            const std::uint32_t green = std::uint32_t(y * 255 / (g_height > 1 ? g_height - 1 : 1));
            const std::uint32_t blue = std::uint32_t((x ^ y) & 0xFF);
            g_pixels[std::size_t(y) * std::size_t(g_width) + std::size_t(x)] = red << 16 | green << 8 | blue;
        }
}

LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), g_width, -g_height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        SetDIBitsToDevice(dc, 0, 0, DWORD(g_width), DWORD(g_height), 0, 0, 0, UINT(g_height), g_pixels.data(),
                          &info, DIB_RGB_COLORS);
        EndPaint(hwnd, &paint);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5)
        return 2;
    const int x = std::atoi(argv[1]);
    const int y = std::atoi(argv[2]);
    g_width = std::atoi(argv[3]);
    g_height = std::atoi(argv[4]);
    if (g_width <= 0 || g_height <= 0 || g_width > 4096 || g_height > 4096)
        return 2;
    make_pattern();
    WNDCLASSW description{};
    description.lpfnWndProc = procedure;
    description.hInstance = GetModuleHandleW(nullptr);
    description.lpszClassName = L"PatternWindow";
    description.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    RegisterClassW(&description);
    HWND hwnd = CreateWindowExW(0, L"PatternWindow", L"\u56fe\u6848\u7a97\u53e3", WS_POPUP | WS_VISIBLE, x, y,
                                g_width, g_height, nullptr, nullptr, description.hInstance, nullptr);
    if (hwnd == nullptr)
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
