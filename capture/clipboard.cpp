#include "capture/clipboard.h"

#include "app/handlers.h"
#include "app/texts.h"
#include "capture/dll_call.h"
#include "forms/layouts/elements.h"

#include <cstdint>
#include <limits>

namespace vorn::capture {

namespace {

namespace main = ui::主窗口;
using app::gbk;
using app::Text;
using contract::DllCommand;
using forms::PropertyId;

constexpr std::uint64_t kBitmapFormat = 2; // CF_BITMAP
// The picture object's record: two 32-bit words, the object in the first.
constexpr std::uint32_t kPictureRecordSize = 8;
// Another program (a clipboard manager reading what was just put there) may
// hold the clipboard for a moment: try again briefly before giving up.
constexpr int kOpenAttempts = 10;
constexpr std::int64_t kOpenRetryMilliseconds = 20;

// Truncates toward zero; a value no 32-bit handle can have gives 0.
std::int32_t handle_from_number(double number) {
    constexpr double kLow = double(std::numeric_limits<std::int32_t>::min()) - 1.0;
    constexpr double kHigh = double(std::numeric_limits<std::int32_t>::max()) + 1.0;
    return number > kLow && number < kHigh ? std::int32_t(number) : 0;
}

// Gives up quietly: the calls that follow then fail and change nothing.
void open_clipboard(const facade::Runtime& runtime, std::uint64_t owner) {
    for (int attempt = 1; attempt <= kOpenAttempts; ++attempt) {
        if (attempt > 1)
            runtime.wait(kOpenRetryMilliseconds);
        if (succeeded(call(runtime, DllCommand::OpenClipboard, {owner})))
            return;
    }
}

// The bitmap goes over as the handle's 32-bit value, sign-extended as Win64
// extends GDI handles.
void put_bitmap(const facade::Runtime& runtime, std::int32_t bitmap) {
    const auto owner = runtime.window_handle(main::窗口);
    open_clipboard(runtime, owner);
    call(runtime, DllCommand::EmptyClipboard, {});
    if (bitmap != 0)
        call(runtime, DllCommand::SetClipboardData, {kBitmapFormat, std::uint64_t(std::int64_t(bitmap))});
    call(runtime, DllCommand::CloseClipboard, {});
}

} // namespace

void transfer_to_clipboard(const facade::Runtime& runtime, const facade::Block& picture) {
    auto* record = static_cast<std::uint32_t*>(runtime.allocate(kPictureRecordSize));
    const std::uint64_t object = runtime.create_picture_object(picture);
    if (object != 0) {
        if (record != nullptr)
            record[0] = std::uint32_t(object);
        put_bitmap(runtime, handle_from_number(runtime.object_number(object, gbk(Text::picture_handle))));
        runtime.release_object(object);
    }
    runtime.release(record);
}

void copy_shown_picture(const facade::Runtime& runtime) {
    runtime.set_flag(main::窗口, PropertyId::stay_on_top, false);
    const facade::Block shown = runtime.block(main::截图效果图片框, PropertyId::picture);
    if (shown.empty()) {
        runtime.message_box(gbk(Text::no_shot_copy), 0);
        return;
    }
    transfer_to_clipboard(runtime, shown);
}

} // namespace vorn::capture

namespace vorn::app {

void 按钮_复制_被单击(const Runtime& runtime, const EventArgs&) {
    capture::copy_shown_picture(runtime);
}

void 菜单_复制图片_被选择(const Runtime& runtime, const EventArgs&) {
    capture::copy_shown_picture(runtime);
}

} // namespace vorn::app
