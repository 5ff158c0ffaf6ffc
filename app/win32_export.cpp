// The executable's export through which the runtime library calls the program.
#include "app/dispatcher.h"

extern "C" __declspec(dllexport) std::uint64_t
    VornDispatch(const VornServices* services, std::uint32_t code_offset, const VornArgs* args) {
    static const VornArgs none{0, nullptr};
    return vorn::app::dispatch(*services, code_offset, args != nullptr ? *args : none);
}
