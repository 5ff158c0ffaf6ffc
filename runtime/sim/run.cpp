#include "runtime/core/engine/engine.h"
#include "runtime/sim/sim_desktop.h"

namespace vorn::sim {

int SimDesktop::run(runtime::Engine& engine, Script session) {
    engine_ = &engine;
    set_session(std::move(session));
    try {
        engine.run();
    } catch (const ProgramEnded& ended) {
        return ended.code;
    }
    throw std::logic_error("the program returned from its start routine without ending");
}

} // namespace vorn::sim
