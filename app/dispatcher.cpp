#include "app/dispatcher.h"

#include "app/handlers.h"

#include <array>

namespace vorn::app {

namespace {

using Handler = void (*)(const Runtime&, const EventArgs&);

struct Route {
    std::uint32_t offset;
    Handler handler;
};

constexpr std::array kRoutes = {
#define VORN_ROUTE(name, offset, built) Route{offset, &name},
    VORN_ENTRY_POINTS(VORN_ROUTE)
#undef VORN_ROUTE
};

} // namespace

std::uint64_t dispatch(const VornServices& services, std::uint32_t code_offset, const VornArgs& args) {
    for (const Route& route : kRoutes) {
        if (route.offset == code_offset) {
            route.handler(Runtime(services), EventArgs(args));
            return 0;
        }
    }
    return 0;
}

} // namespace vorn::app
