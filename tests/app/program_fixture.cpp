#include "tests/app/program_fixture.h"

#include "app/dispatcher.h"
#include "app/program_state.h"
#include "image/writer.h"
#include "tools/imagetool/assemble.h"

#include <stdexcept>

namespace vorn::testing {

namespace {

template <class T> T need(Result<T> result) {
    if (!result)
        throw std::runtime_error(result.error().message);
    return std::move(*result);
}

std::unique_ptr<runtime::Program> product_program() {
    static const Bytes image = need(image::write_image(need(imagetool::product_image_parts())));
    return need(runtime::load_program(image));
}

} // namespace

ProgramFixture::ProgramFixture() {
    // Each fixture is a fresh run of the program: its variables start from zero.
    app::program_state() = app::ProgramState{};
    engine = std::make_unique<runtime::Engine>(product_program(), desktop,
                                               [this](std::uint32_t offset, const VornArgs& args) {
                                                   return app::dispatch(engine->services(), offset, args);
                                               });
}

int ProgramFixture::run(sim::SimDesktop::Script session) {
    return desktop.run(
        *engine, session ? std::move(session) : [](sim::SimDesktop&) {});
}

} // namespace vorn::testing
