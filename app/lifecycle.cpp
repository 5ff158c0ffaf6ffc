// The start routine and the global clean-up.
#include "app/handlers.h"
#include "app/program_state.h"
#include "forms/layouts/elements.h"
#include "forms/layouts/entry_points.h"

#include <cfenv>

namespace vorn::app {

namespace {

// The program's own start: nothing to prepare beyond the globals.
void start_subroutine() {}

} // namespace

void 启动例程(const Runtime& runtime, const EventArgs&) {
    std::fesetenv(FE_DFL_ENV);
    global_initialisation(runtime);
    runtime.hand_over_cleanup(layouts::offset_of(layouts::Entry::全局清理));
    start_subroutine();
    runtime.load_main_window(ui::主窗口::kId);
    runtime.run_message_loop();
    runtime.end_program(0);
}

void 全局清理(const Runtime& runtime, const EventArgs&) {
    global_cleanup(runtime);
}

} // namespace vorn::app
