#include "runtime/win32/block_pages.h"

#include "runtime/win32/win32_api.h"

#include <new>

namespace vorn::win32 {

namespace {

constexpr ULONG_PTR kWriteAccess = 1; // an access violation's first detail: the access was a write

LONG CALLBACK take_back_written_block(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    if (record.ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record.NumberParameters < 2 ||
        record.ExceptionInformation[0] != kWriteAccess)
        return EXCEPTION_CONTINUE_SEARCH;
    try {
        if (runtime::BlockLending::process().reclaim(record.ExceptionInformation[1]))
            return EXCEPTION_CONTINUE_EXECUTION; // the write is done again, on writable pages
    } catch (const std::bad_alloc&) {
        // No memory for the property's copy: the block stays read-only and
        // the fault goes on to end the program, rather than the property's
        // picture being changed under it.
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

std::size_t VirtualBlockPages::page_size() const {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    return system.dwPageSize;
}

void* VirtualBlockPages::reserve(std::size_t size) {
    return VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void VirtualBlockPages::free(void* pages, std::size_t) {
    VirtualFree(pages, 0, MEM_RELEASE);
}

bool VirtualBlockPages::set_read_only(void* pages, std::size_t size, bool read_only) {
    DWORD previous = 0;
    return VirtualProtect(pages, size, read_only ? PAGE_READONLY : PAGE_READWRITE, &previous) != 0;
}

void start_block_lending() {
    static VirtualBlockPages pages;
    static const bool started = [] {
        // First in line: a lent block's fault is ours and nobody else's business.
        AddVectoredExceptionHandler(1, take_back_written_block);
        runtime::BlockLending::process().use_pages(&pages);
        return true;
    }();
    (void)started;
}

} // namespace vorn::win32
