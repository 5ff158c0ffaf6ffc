// The executable's entry point: run the stub with the embedded program image
// and end the process with its result.
#include "startup/stub.h"
#include "startup/win32_system.h"

#include <windows.h>

// Placed in the data section by the executable's image object; taken
// RIP-relative, so the address does not depend on where Windows loads us.
extern "C" const unsigned char vorn_program_image[];

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    vorn::startup::Win32System system;
    int code = vorn::startup::run_stub(system, vorn_program_image);
    ExitProcess(static_cast<UINT>(code));
}
