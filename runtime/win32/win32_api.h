// Windows's headers, as every file of the backend includes them.
#pragma once

#include <windows.h>

// winuser.h maps DrawState to DrawStateW, a name the engine's canvas drawing
// state has too; nothing here calls the Win32 function.
#undef DrawState
