#include "runtime/win32/memory_extent.h"

#include "runtime/win32/win32_api.h"

namespace vorn::runtime {

namespace {

bool readable(const MEMORY_BASIC_INFORMATION& info) {
    if (info.State != MEM_COMMIT || (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0)
        return false;
    constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return (info.Protect & kReadable) != 0;
}

} // namespace

ByteView readable_bytes_from(const void* address) {
    MEMORY_BASIC_INFORMATION info{};
    if (address == nullptr || VirtualQuery(address, &info, sizeof info) == 0 || !readable(info))
        return {};
    // Follow the regions of the same allocation (the module's sections) as long
    // as they stay readable.
    void* allocation = info.AllocationBase;
    auto* end = static_cast<const std::uint8_t*>(info.BaseAddress) + info.RegionSize;
    while (VirtualQuery(end, &info, sizeof info) != 0 && info.AllocationBase == allocation && readable(info))
        end = static_cast<const std::uint8_t*>(info.BaseAddress) + info.RegionSize;
    auto* start = static_cast<const std::uint8_t*>(address);
    return ByteView(start, static_cast<std::size_t>(end - start));
}

} // namespace vorn::runtime
