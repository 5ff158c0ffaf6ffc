// Saving the shot shown in the main window as a JPEG file the user names.
#pragma once

#include "runtime/facade/runtime.h"

#include <string>
#include <string_view>

namespace vorn::capture {

// The name the shot is saved under: the chosen name, with ".jpg" appended
// unless its last four bytes are exactly ".jpg" (GBK, case-sensitive).
std::string jpeg_file_name(std::string_view chosen);

// The save command of the button, the context menu and the enlarged view.
void save_shown_picture(const facade::Runtime& runtime);

} // namespace vorn::capture
