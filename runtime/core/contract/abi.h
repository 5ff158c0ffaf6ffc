// The binary contract between the program (VornShot.exe) and the runtime
// (krnln.fnr). Plain C layout and calling convention on both sides; nothing
// here may change without changing both.
//
// The program reaches the runtime only through the service table below. The
// runtime reaches the program only through the dispatcher that the executable
// exports: it calls dispatch(code offset, arguments) wherever the image's
// tables name code (the start routine, event handlers, the clean-up routine).
#pragma once

#include <cstdint>

extern "C" {

// Type tags of argument records. A control argument carries the class id as
// its tag (library number << 16 | class number, never one of these values).
enum VornArgType : std::uint32_t {
    kVornOmitted = 0,
    kVornLogical = 0x80000002,
    kVornText = 0x80000004,
    kVornBlock = 0x80000005,
    kVornInteger = 0x80000301,
    kVornDouble = 0x80000601,
};

// One argument: an integer or logical in `value`; a double's bits; a text or
// block address; for a control, window id in the low and element id in the
// high 32 bits with the class id as the type. An omitted argument is all zero.
struct VornArg {
    std::uint64_t value;
    std::uint32_t type;
    std::uint32_t reserved;
};

struct VornArgs {
    std::uint32_t count;
    const VornArg* args;
};

// A byte block as it lies in memory: 32-bit 1, 32-bit length, the bytes.
// Texts are zero-terminated GBK strings. Blocks and texts that a service
// returns belong to the caller, who releases them with `release`.
inline constexpr std::uint32_t kVornBlockMarker = 1;
inline constexpr std::uint32_t kVornBlockHeaderSize = 8;

// The service slots, in slot order.
struct VornServices {
    // 0: report a run-time error: 1 and 4 index checks, 6 a DLL call with a
    // mismatched argument list. Does not return.
    void (*report_error)(std::uint32_t code);
    // 1: call DLL command `index` of the image's table with native arguments.
    std::uint64_t (*call_dll)(std::uint32_t index, std::uint32_t argc, const std::uint64_t* argv);
    // 2: support-library command (0-based library index, selector).
    std::uint64_t (*call_library)(std::uint32_t library, std::uint32_t selector, const VornArgs* args);
    // 3: the runtime's own commands (VornKernelCommand).
    std::uint64_t (*call_kernel)(std::uint32_t selector, const VornArgs* args);
    // 4: read a property; sub-field -1 for the whole property. Texts and
    // blocks come back as copies owned by the caller.
    std::uint64_t (*read_property)(std::uint32_t window, std::uint32_t element, std::uint32_t property,
                                   std::int32_t sub_field);
    // 5: write a property; texts and blocks are copied.
    void (*write_property)(std::uint32_t window, std::uint32_t element, std::uint32_t property,
                           std::int32_t sub_field, std::uint64_t value);
    // 6: allocate a zeroed block of memory; 8: release it (null is ignored).
    void* (*allocate)(std::uint32_t size);
    void* unused_7;
    void (*release)(void* block);
    // 9: end the program with `code` (runs the clean-up routine first).
    void (*end_program)(std::uint32_t code);
    // 10: run the message loop until the program ends.
    void (*run_message_loop)();
    // 11: load and show a window without parent, non-modally.
    void (*load_window)(std::uint32_t window);
    // 12: runtime hook; sub-function 3 takes the clean-up routine's code offset.
    std::uint64_t (*hook)(std::uint32_t sub_function, std::uint64_t argument);
};

// Exported by the executable under kVornDispatchExport.
typedef std::uint64_t (*VornDispatchFunction)(const VornServices* services, std::uint32_t code_offset,
                                              const VornArgs* args);

inline constexpr const char* kVornDispatchExport = "VornDispatch";
inline constexpr std::uint32_t kVornHookCleanup = 3;

} // extern "C"
