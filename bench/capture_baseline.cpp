// The least a screen-capture tool can do on this platform, timed: BitBlt the
// screen into a bitmap and hand that bitmap to the clipboard as CF_BITMAP.
// The capture benchmark sets the tool's own pipeline against these figures.
//   capture_baseline ITERATIONS [TURN_DIRECTORY]
// prints one line per iteration: "baseline SNAPSHOT_US CLIPBOARD_US", then
// "peak_working_set BYTES". Given a directory, it takes turns with the tool
// instead of running its captures back to back: capture N starts when the
// file "go.N" appears there, so that both are measured under the same load
// of the moment (a machine's speed drifts by a fifth over a minute here).
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>

namespace {

double now_us() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) * 1e6 / double(frequency.QuadPart);
}

HBITMAP snapshot(int width, int height) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

void to_clipboard(HBITMAP bitmap) {
    OpenClipboard(nullptr);
    EmptyClipboard();
    if (SetClipboardData(CF_BITMAP, bitmap) == nullptr)
        DeleteObject(bitmap);
    CloseClipboard();
}

// Waits at most a minute for the benchmark's turn file.
bool wait_for_turn(const char* directory, int iteration) {
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s\\go.%d", directory, iteration);
    for (int waited = 0; waited < 60000; waited += 10) {
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(10);
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const int iterations = argc > 1 ? std::atoi(argv[1]) : 10;
    const char* turns = argc > 2 ? argv[2] : nullptr;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    for (int i = 0; i < iterations; ++i) {
        // The tool is clicked about twice a second in the benchmark: captures
        // as far apart here, so that neither meets a screen read still warm
        // from the one before (back to back, the read is up to 3x faster).
        if (turns != nullptr && !wait_for_turn(turns, i + 1))
            return 1;
        if (turns == nullptr && i > 0)
            Sleep(500);
        const double start = now_us();
        HBITMAP bitmap = snapshot(width, height);
        const double shot = now_us();
        to_clipboard(bitmap);
        const double done = now_us();
        std::printf("baseline %.0f %.0f\n", shot - start, done - shot);
        std::fflush(stdout);
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    std::printf("peak_working_set %llu\n", static_cast<unsigned long long>(counters.PeakWorkingSetSize));
    return 0;
}
