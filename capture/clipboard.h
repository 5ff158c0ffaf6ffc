// The one routine that puts picture data on the Windows clipboard, and the
// copy command that puts the picture box's content there again.
#pragma once

#include "runtime/facade/runtime.h"

namespace vorn::capture {

// Replaces the clipboard's content with the picture as one bitmap (CF_BITMAP).
// `picture` is read, never changed.
void transfer_to_clipboard(const facade::Runtime& runtime, const facade::Block& picture);

// Copies what the shot picture box shows; tells the user when it is empty.
void copy_shown_picture(const facade::Runtime& runtime);

} // namespace vorn::capture
