#include "capture/options.h"

#include "app/constants.h"
#include "app/settings.h"

namespace vorn::capture {

using app::Text;

bool hide_while_capturing(const facade::Runtime& runtime) {
    return app::setting_is(runtime, Text::section_hide, Text::key_hide, Text::yes);
}

void play_capture_sound(const facade::Runtime& runtime) {
    // Only the exact word silences; a missing or odd value plays.
    if (!app::setting_is(runtime, Text::section_sound, Text::key_sound, Text::no))
        runtime.play_sound(runtime.program_constant(app::kCaptureSoundConstant));
}

} // namespace vorn::capture
