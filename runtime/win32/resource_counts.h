// What the process holds of the system's resources, for watching a long run
// from outside: any of the runtime's windows answers the registered message
// kResourceCountsMessage (wParam picks a ResourceCount) with the count, so a
// probe in another process reads it with SendMessage. Wine has no per-process
// GetGuiResources, so where it answers 0 the objects are counted here.
#pragma once

#include "runtime/win32/win32_api.h"

#include <cstdint>

namespace vorn::win32 {

inline constexpr const wchar_t* kResourceCountsMessage = L"VornShot.ResourceCounts";

enum class ResourceCount : WPARAM {
    gdi_objects = 0,
    user_objects = 1,
    handles = 2,
    private_kib = 3,
};

// The registered message's number; 0 when it could not be registered.
UINT resource_counts_message();

// The count wParam asks for; -1 for an unknown one.
LRESULT count_resource(WPARAM which);

} // namespace vorn::win32
