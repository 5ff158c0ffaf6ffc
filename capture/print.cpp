// Printing the shot shown in the main window on the default printer. The
// printer component takes sizes in screen pixels (1/96 inch) and shrinks a
// picture larger than the printable area to fit it, keeping its proportions.
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

constexpr std::int64_t kDrawMode = 1;
constexpr std::int64_t kEndJobMode = 4;

struct LoadedPicture {
    std::int64_t id = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// The picture goes by way of "temp.jpg" beside the program, as other tools
// may look for it there. Where that file cannot be written (a read-only
// install directory) the picture data is printed from memory: an older
// temp.jpg must never be printed in its place.
LoadedPicture load_for_printing(const facade::Runtime& runtime, const facade::Block& shown) {
    const std::string temp = runtime.run_directory() + std::string(gbk(Text::temp_file));
    if (runtime.write_file(temp, shown) == FileFailure::none) {
        const std::int64_t id = runtime.load_picture_file(temp);
        if (id != 0)
            return {id, runtime.picture_width(temp), runtime.picture_height(temp)};
    }
    const std::int64_t id = runtime.load_picture_data(shown);
    return {id, runtime.picture_id_width(id), runtime.picture_id_height(id)};
}

void print_shown_picture(const facade::Runtime& runtime) {
    runtime.set_flag(main::窗口, PropertyId::stay_on_top, false);
    const facade::Block shown = runtime.block(main::截图效果图片框, PropertyId::picture);
    if (shown.empty()) {
        runtime.message_box(gbk(Text::no_shot), 0);
        return;
    }
    const LoadedPicture picture = load_for_printing(runtime, shown);
    runtime.printer_draw_picture(main::打印机1, picture.id, 0, 0, picture.width, picture.height, kDrawMode);
    runtime.printer_end_job(main::打印机1, true, false, kEndJobMode, 0);
}

} // namespace

} // namespace vorn::capture

namespace vorn::app {

void 按钮_打印_被单击(const Runtime& runtime, const EventArgs&) {
    capture::print_shown_picture(runtime);
}

void 菜单_打印图片_被选择(const Runtime& runtime, const EventArgs&) {
    capture::print_shown_picture(runtime);
}

} // namespace vorn::app
