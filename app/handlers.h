// Every entry point of the program as a C++ function, declared from the one
// entry table; the dispatcher routes code offsets to them.
#pragma once

#include "forms/layouts/entry_points.h"
#include "runtime/facade/runtime.h"

namespace vorn::app {

using facade::EventArgs;
using facade::Runtime;

#define VORN_DECLARE_ENTRY(name, offset, built) void name(const Runtime& runtime, const EventArgs& args);
VORN_ENTRY_POINTS(VORN_DECLARE_ENTRY)
#undef VORN_DECLARE_ENTRY

} // namespace vorn::app
