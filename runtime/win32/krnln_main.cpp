// The runtime library's only export. The stub asks it for the entry routine
// with the request number 1000 and hands that routine the program image;
// the routine loads the image, finds the program's dispatcher among the
// executable's exports and runs the program on the Win32 desktop.
#include "runtime/core/contract/abi.h"
#include "runtime/core/engine/engine.h"
#include "runtime/win32/block_pages.h"
#include "runtime/win32/memory_extent.h"
#include "runtime/win32/text.h"
#include "runtime/win32/trace.h"
#include "runtime/win32/win32_desktop.h"

#include "runtime/win32/win32_api.h"

#include <string>

namespace {

constexpr std::uint32_t kEntryRequest = 1000;
constexpr UINT kInvalidImageExitCode = 3;

using Dispatch = std::uint64_t (*)(const VornServices* services, std::uint32_t code_offset,
                                   const VornArgs* args);

[[noreturn]] void refuse(const std::wstring& text) {
    vorn::win32::trace("refused: " + vorn::win32::utf8(text));
    MessageBoxW(nullptr, text.c_str(), L"Error", MB_ICONERROR | MB_OK);
    ExitProcess(kInvalidImageExitCode);
}

void WINAPI run_program_image(const void* image) {
    auto program = vorn::runtime::load_program(vorn::runtime::readable_bytes_from(image));
    if (!program)
        refuse(L"The program image is invalid: " + vorn::win32::wide_from_utf8(program.error().message));
    // The program's code is the executable's: it exports one dispatcher.
    const auto dispatch = reinterpret_cast<Dispatch>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(nullptr), kVornDispatchExport)));
    if (dispatch == nullptr)
        refuse(L"The program has no entry point: the executable does not export " +
               vorn::win32::wide_from_utf8(kVornDispatchExport) + L".");

    vorn::win32::start_block_lending();
    vorn::win32::Win32Desktop desktop;
    vorn::runtime::Engine* running = nullptr;
    vorn::runtime::Engine engine(std::move(*program), desktop,
                                 [&running, dispatch](std::uint32_t offset, const VornArgs& args) {
                                     return dispatch(&running->services(), offset, &args);
                                 });
    running = &engine;
    engine.run();
}

} // namespace

extern "C" __declspec(dllexport) std::uintptr_t WINAPI GetNewSock(std::uint32_t request) {
    if (request != kEntryRequest)
        return 0;
    return reinterpret_cast<std::uintptr_t>(&run_program_image);
}
