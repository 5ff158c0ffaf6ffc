// Entry points whose behaviour later work brings. They are bound in the window
// definitions and listed as not built in the entry table; until then they do
// nothing. Each moves out of this file when it is built.
#include "app/handlers.h"

namespace vorn::app {

void 广告标签_左键被按下(const Runtime&, const EventArgs&) {}

} // namespace vorn::app
