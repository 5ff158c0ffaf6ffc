// A debugging aid: when the environment variable VORN_TRACE names a file,
// every service the engine asks of the desktop and every message that the
// runtime's window procedures handle is written to it by name, one line
// each, so that a trace reads like the program. Nothing behaves differently
// with or without it.
#pragma once

#include "runtime/win32/win32_api.h"

#include <string_view>

namespace vorn::win32 {

bool tracing();
// One line of the trace (UTF-8), stamped with the microseconds since the
// first; does nothing when tracing is off.
void trace(std::string_view line);
// "WM_LBUTTONDOWN", or the number in hex for a message the table lacks.
std::string_view message_name(UINT message);
void trace_message(std::string_view who, UINT message, WPARAM wparam, LPARAM lparam);

} // namespace vorn::win32
