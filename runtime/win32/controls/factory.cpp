#include "runtime/win32/controls/factory.h"

#include "forms/ids.h"
#include "runtime/win32/components/balloon_tip.h"
#include "runtime/win32/components/input_device.h"
#include "runtime/win32/components/printer.h"
#include "runtime/win32/components/timer.h"
#include "runtime/win32/controls/canvas.h"
#include "runtime/win32/controls/check_box.h"
#include "runtime/win32/controls/colour_picker.h"
#include "runtime/win32/controls/edit_box.h"
#include "runtime/win32/controls/font_picker.h"
#include "runtime/win32/controls/label.h"
#include "runtime/win32/controls/picture_box.h"
#include "runtime/win32/controls/picture_button.h"
#include "runtime/win32/controls/plain_control.h"
#include "runtime/win32/controls/push_button.h"
#include "runtime/win32/controls/shape_box.h"
#include "runtime/win32/controls/transparent_label.h"

namespace vorn::win32 {

namespace {

namespace id = forms::class_id;

template <class Wrapper, class... Extra>
std::unique_ptr<Control> opened(const ControlArgs& args, Extra... extra) {
    auto wrapper = std::make_unique<Wrapper>(args, extra...);
    if (!wrapper->open(args.parent))
        return nullptr;
    return wrapper;
}

} // namespace

std::unique_ptr<Control> make_control(const ControlArgs& args) {
    switch (args.element.class_id) {
    case id::picture_button:
        return opened<PictureButton>(args, true);
    case id::graphic_button:
        return opened<PictureButton>(args, false);
    case id::picture_box:
        return opened<PictureBox>(args);
    case id::label:
        return opened<Label>(args);
    case id::transparent_label:
        return opened<TransparentLabel>(args);
    case id::shape_box:
        return opened<ShapeBox>(args);
    case id::canvas:
        return opened<CanvasControl>(args);
    case id::push_button:
        return opened<PushButton>(args);
    case id::check_box:
        return opened<CheckBox>(args);
    case id::edit_box:
        return opened<EditBox>(args);
    case id::colour_picker:
        return opened<ColourPicker>(args);
    case id::font_picker:
        return opened<FontPicker>(args);
    default:
        return opened<PlainControl>(args);
    }
}

std::unique_ptr<Component> make_component(Win32Desktop& desktop, runtime::LiveWindow& window,
                                          runtime::LiveElement& element) {
    switch (element.class_id) {
    case id::timer:
        return std::make_unique<Timer>(desktop, window, element);
    case id::input_device:
        return std::make_unique<InputDevice>(desktop, window, element);
    case id::printer:
        return std::make_unique<Printer>(desktop, window, element);
    case id::balloon_tip:
        return std::make_unique<BalloonTip>(desktop, window, element);
    default:
        return nullptr;
    }
}

bool is_container_class(std::uint32_t class_id) {
    return class_id == id::shape_box || class_id == id::canvas;
}

} // namespace vorn::win32
