// Start-up and shutdown of the main window: the single-instance rule, the
// caption, the input device, the button tips, the hidden promotional row, the
// desktop shortcut; About, Exit and closing the window.
#include "app/handlers.h"
#include "app/texts.h"
#include "forms/layouts/elements.h"
#include "runtime/core/contract/commands.h"
#include "text/gbk.h"

#include <array>
#include <utility>

namespace vorn::app {

namespace {

namespace main = ui::主窗口;
namespace lc = contract::library_command;
using forms::PropertyId;

constexpr std::int64_t kDesktopFolder = 3;
constexpr std::int64_t kTipStyle = -1;
constexpr double kPromotionalRowHeight = 40.0;
constexpr std::int64_t kInputDeviceInterval = 50;
constexpr std::int64_t kInputDeviceMode = 0;

// The button tips, in the order they are attached.
constexpr std::array<std::pair<forms::ElementRef, Text>, 12> kButtonTips = {{
    {main::按钮_退出, Text::tip_exit},
    {main::按钮_打印, Text::tip_print},
    {main::按钮_放大, Text::tip_zoom},
    {main::按钮_清除, Text::tip_clear},
    {main::按钮_保存, Text::tip_save},
    {main::按钮_设置, Text::tip_settings},
    {main::按钮_编辑, Text::tip_edit},
    {main::按钮_截取窗口, Text::tip_capture_window},
    {main::按钮_截取全屏, Text::tip_capture_full_screen},
    {main::按钮_截取区域, Text::tip_capture_region},
    {main::按钮_复制, Text::tip_copy},
    {main::按钮_关于, Text::tip_about},
}};

// A second running copy ends itself before its window is ever shown. Every
// copy appears in the process list under its file name with "exe" written
// "EXE", so the program looks for its own name written that way.
void enforce_single_instance(const Runtime& runtime) {
    const std::string own_name =
        text::gbk_replace_all(runtime.program_file_name(), gbk(Text::exe_lower), gbk(Text::exe_upper));
    int matches = 0;
    for (const std::string& name : runtime.process_names()) {
        if (name == own_name)
            ++matches;
        if (matches == 2)
            runtime.end_program(0);
    }
}

void prepare_input_device(const Runtime& runtime) {
    runtime.input_device_enable(main::输入设备1, true);
    runtime.input_device_command(main::输入设备1, lc::kInputDeviceInterval, kInputDeviceInterval);
    runtime.input_device_command(main::输入设备1, lc::kInputDeviceMode, kInputDeviceMode);
}

void hide_promotional_row(const Runtime& runtime) {
    runtime.set_flag(main::透明标签1, PropertyId::visible, false);
    runtime.set_flag(main::广告标签, PropertyId::visible, false);
    runtime.set_flag(main::外形框1, PropertyId::visible, false);
    const double height = double(runtime.integer(main::窗口, PropertyId::height));
    runtime.set_integer(main::窗口, PropertyId::height, std::int64_t(height - kPromotionalRowHeight));
}

// The shell answers the desktop folder with its trailing backslash, so the
// name is appended directly.
void create_desktop_shortcut(const Runtime& runtime) {
    const std::string link = runtime.special_folder(kDesktopFolder) + std::string(gbk(Text::shortcut_name));
    const std::string target =
        runtime.run_directory() + std::string(gbk(Text::backslash)) + runtime.program_file_name();
    runtime.create_shortcut(link, target);
}

} // namespace

void 主窗口_创建完毕(const Runtime& runtime, const EventArgs&) {
    enforce_single_instance(runtime);
    runtime.set_text(main::窗口, PropertyId::text, gbk(Text::product_caption));
    prepare_input_device(runtime);
    runtime.set_flag(main::窗口, PropertyId::visible, true);
    for (const auto& [button, tip] : kButtonTips)
        runtime.attach_tip(main::气球提示框1, button, gbk(tip), kTipStyle);
    hide_promotional_row(runtime);
    create_desktop_shortcut(runtime);
}

void 主窗口_将被销毁(const Runtime& runtime, const EventArgs&) {
    runtime.end_program(0);
}

void 按钮_退出_被单击(const Runtime& runtime, const EventArgs&) {
    runtime.end_program(0);
}

void 按钮_关于_被单击(const Runtime& runtime, const EventArgs&) {
    runtime.set_flag(main::窗口, PropertyId::stay_on_top, false);
    runtime.message_box(gbk(Text::about_text), 0, gbk(Text::about_title));
}

} // namespace vorn::app
