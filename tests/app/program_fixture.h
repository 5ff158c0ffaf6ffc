// The real program on the simulated desktop: the image as `imagetool build`
// writes it, the real handlers behind the dispatcher.
#pragma once

#include "runtime/core/engine/engine.h"
#include "runtime/sim/sim_desktop.h"

#include <memory>

namespace vorn::testing {

struct ProgramFixture {
    sim::SimDesktop desktop;
    std::unique_ptr<runtime::Engine> engine;

    ProgramFixture();
    int run(sim::SimDesktop::Script session = {});
};

} // namespace vorn::testing
