// The runtime library's only export. The stub asks it for the entry routine
// with the request number 1000 and hands that routine the program image.
#include "runtime/win32/memory_extent.h"

#include "image/reader.h"

#include <windows.h>

#include <string>

namespace {

constexpr std::uint32_t kEntryRequest = 1000;
constexpr UINT kInvalidImageExitCode = 3;

std::wstring widen(const std::string& text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// Reads and verifies the image. FIXME: windows, events and the message loop
// are not run yet; a valid image makes the program end at once.
void WINAPI run_program_image(const void* image) {
    vorn::ByteView bytes = vorn::runtime::readable_bytes_from(image);
    auto read = vorn::image::read_image(bytes);
    if (!read) {
        std::wstring text = L"The program image is invalid: " + widen(read.error().message);
        MessageBoxW(nullptr, text.c_str(), L"Error", MB_ICONERROR | MB_OK);
        ExitProcess(kInvalidImageExitCode);
    }
}

} // namespace

extern "C" __declspec(dllexport) std::uintptr_t WINAPI GetNewSock(std::uint32_t request) {
    if (request != kEntryRequest)
        return 0;
    return reinterpret_cast<std::uintptr_t>(&run_program_image);
}
