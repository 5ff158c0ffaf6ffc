// The converter takes the shot's picture data as it is and writes the JPEG
// beside the target, replacing the target only once the whole JPEG is
// written: a save that fails on the way (a read-only folder, a full disk)
// leaves an existing file as it was, and never the picture data under the
// JPEG name, nor anything half-written.
#include "capture/save.h"

#include "app/handlers.h"
#include "app/texts.h"
#include "forms/layouts/elements.h"

namespace vorn::capture {

namespace {

namespace main = ui::主窗口;
using app::gbk;
using app::Text;
using contract::FileFailure;
using forms::PropertyId;

constexpr std::int64_t kSaveDialog = 1;
constexpr std::int64_t kJpegQuality = 70;

Text reason_for(FileFailure failure) {
    switch (failure) {
    case FileFailure::no_directory:
        return Text::reason_no_directory;
    case FileFailure::denied:
        return Text::reason_denied;
    case FileFailure::disk_full:
        return Text::reason_disk_full;
    case FileFailure::unreadable_picture:
        return Text::reason_unreadable_picture;
    default:
        return Text::reason_other;
    }
}

void report_failure(const facade::Runtime& runtime, const std::string& file, FileFailure failure) {
    const std::string line_break(gbk(Text::line_break));
    runtime.message_box(std::string(gbk(Text::save_failed)) + line_break + file + line_break +
                            std::string(gbk(reason_for(failure))),
                        0);
}

// The chosen name, or empty text when the user cancelled.
std::string ask_for_name(const facade::Runtime& runtime) {
    runtime.set_integer(main::通用对话框1, PropertyId::dialog_type, kSaveDialog);
    runtime.set_text(main::通用对话框1, PropertyId::filter, gbk(Text::save_filter));
    // A cancel is told by the empty file name the dialog leaves.
    runtime.open_file_dialog(main::通用对话框1);
    return runtime.text(main::通用对话框1, PropertyId::file_name);
}

} // namespace

std::string jpeg_file_name(std::string_view chosen) {
    const std::string_view extension = gbk(Text::jpg_extension);
    std::string name(chosen);
    if (!name.ends_with(extension))
        name += extension;
    return name;
}

void save_shown_picture(const facade::Runtime& runtime) {
    runtime.set_flag(main::窗口, PropertyId::stay_on_top, false);
    const facade::Block shown = runtime.block(main::截图效果图片框, PropertyId::picture);
    if (shown.empty()) {
        runtime.message_box(gbk(Text::no_shot), 0);
        return;
    }
    const std::string chosen = ask_for_name(runtime);
    if (chosen.empty())
        return;
    const std::string target = jpeg_file_name(chosen);
    if (target != chosen)
        runtime.set_text(main::通用对话框1, PropertyId::file_name, target);

    const FileFailure failure = runtime.convert_picture(shown, target, false, kJpegQuality, true, 0);
    if (failure != FileFailure::none)
        report_failure(runtime, target, failure);
}

} // namespace vorn::capture

namespace vorn::app {

void 按钮_保存_被单击(const Runtime& runtime, const EventArgs&) {
    capture::save_shown_picture(runtime);
}

void 菜单_保存图片_被选择(const Runtime& runtime, const EventArgs&) {
    capture::save_shown_picture(runtime);
}

} // namespace vorn::app
