// The settings window: three check boxes that mirror the capture options of
// the settings file. What they show is read from the file each time the
// window opens, and each click is written at once; there is no OK or Cancel.
#include "app/handlers.h"
#include "app/settings.h"
#include "app/texts.h"
#include "forms/layouts/elements.h"

namespace vorn::app {

namespace {

namespace main = ui::主窗口;
namespace options = ui::设置窗口;
using forms::PropertyId;

struct Option {
    forms::ElementRef box;
    Text section;
    Text key;
};

constexpr Option kHide{options::选择框1, Text::section_hide, Text::key_hide};
constexpr Option kSound{options::选择框2, Text::section_sound, Text::key_sound};
constexpr Option kCopy{options::选择框3, Text::section_options, Text::key_copy_to_clipboard};

// A click the file did not take is undone and said, so that the box never
// shows a choice that the next capture (or the next opening) would not find.
void store(const Runtime& runtime, const Option& option) {
    const bool checked = runtime.flag(option.box, PropertyId::checked);
    const std::string file = settings_file_path(runtime);
    if (runtime.write_setting(file, gbk(option.section), gbk(option.key),
                              gbk(checked ? Text::yes : Text::no)))
        return;
    runtime.set_flag(option.box, PropertyId::checked, !checked);
    runtime.message_box(std::string(gbk(Text::setting_not_saved)) + std::string(gbk(Text::line_break)) + file,
                        0);
}

} // namespace

void 按钮_设置_被单击(const Runtime& runtime, const EventArgs&) {
    runtime.set_flag(main::窗口, PropertyId::stay_on_top, false);
    runtime.load_window(options::kId, main::kId, true);
}

// The hide and copy options count only when they are exactly "真"; the sound
// plays unless it is exactly "假", so a missing value shows it checked.
void 设置窗口_创建完毕(const Runtime& runtime, const EventArgs&) {
    runtime.set_flag(kHide.box, PropertyId::checked,
                     setting_is(runtime, kHide.section, kHide.key, Text::yes));
    runtime.set_flag(kSound.box, PropertyId::checked,
                     !setting_is(runtime, kSound.section, kSound.key, Text::no));
    runtime.set_flag(kCopy.box, PropertyId::checked,
                     setting_is(runtime, kCopy.section, kCopy.key, Text::yes));
}

void 选择框1_被单击(const Runtime& runtime, const EventArgs&) {
    store(runtime, kHide);
}

void 选择框2_被单击(const Runtime& runtime, const EventArgs&) {
    store(runtime, kSound);
}

void 选择框3_被单击(const Runtime& runtime, const EventArgs&) {
    store(runtime, kCopy);
}

void 按钮1_被单击(const Runtime& runtime, const EventArgs&) {
    runtime.close_window(options::kId);
}

} // namespace vorn::app
