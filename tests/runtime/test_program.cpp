#include "tests/runtime/test_program.h"

#include "forms/class_block.h"
#include "tests/forms/sample_forms.h"
#include "tests/support/program_image.h"

namespace vorn::testing {

namespace {

using namespace forms;
using forms::testing::ControlSpec;
using forms::testing::make_block;
using forms::testing::make_control;
using forms::testing::make_menu_item;

constexpr std::uint32_t kCodeSize = 0x100;

Element own_element(std::uint32_t id, std::uint32_t flags, std::vector<EventBinding> events,
                    const char* caption) {
    ControlSpec spec{id, "", class_id::window, 50, 50, 400, 300, flags};
    spec.events = std::move(events);
    return make_control(spec, forms::testing::encode(
                                  make_block(class_id::window, {{PropertyId::text, std::string(caption)}})));
}

Window main_window() {
    Window window;
    window.id = ids::kMain;
    window.unit_id = 0x19010005;
    window.elements.push_back(own_element(
        ids::kMainOwn, 0, {{0, handler::kMainCreated}, {1, handler::kMainDestroyed}}, "stored caption"));
    ControlSpec button{ids::kButton, "按钮1", class_id::push_button, 10, 10, 80, 24, 0x05};
    button.events = {{0, handler::kButtonClicked}};
    window.elements.push_back(make_control(button));
    ControlSpec canvas{ids::kCanvas, "画板1", class_id::canvas, 5, 6, 100, 80};
    canvas.events = {{-1, handler::kCanvasPressed}, {-6, handler::kCanvasMoved}};
    canvas.parent = ids::kFrame;
    window.elements.push_back(make_control(canvas));
    ControlSpec edit{ids::kEdit, "编辑框1", class_id::edit_box, 10, 200, 80, 24, 0x05};
    edit.events = {{-9, handler::kEditKey}};
    window.elements.push_back(make_control(edit));
    ControlSpec device{ids::kDevice, "输入设备1", class_id::input_device, 0, -20, 24, 24, 0};
    device.events = {{2, handler::kDevicePointer}, {3, handler::kDeviceButton}};
    window.elements.push_back(make_control(device));
    window.elements.push_back(make_control({ids::kFrame, "外形框1", class_id::shape_box, 100, 40, 200, 150}));
    window.elements.push_back(make_menu_item(ids::kMenu, 0, "编辑", kNoHandler));
    window.elements.push_back(make_menu_item(ids::kMenuItem, 1, "清除图片", handler::kMenuClicked));
    forms::testing::link_children(window);
    return window;
}

Window dialog_window() {
    Window window;
    window.id = ids::kDialog;
    window.unit_id = 0x19010031;
    window.elements.push_back(
        own_element(ids::kDialogOwn, element_flag::visible, {{0, handler::kDialogCreated}}, "dialog"));
    ControlSpec check{ids::kCheck, "选择框1", class_id::check_box, 32, 20, 144, 24, 0x05};
    check.events = {{0, handler::kCheckClicked}};
    window.elements.push_back(make_control(check));
    return window;
}

} // namespace

Bytes test_program_image() {
    FormSection section;
    section.windows = {main_window(), dialog_window()};
    return image_with_windows(section, handler::kStart, kCodeSize);
}

TestProgram::TestProgram() = default;

std::uint64_t TestProgram::dispatch(const VornServices& services, std::uint32_t offset,
                                    const VornArgs& args) {
    auto it = handlers_.find(offset);
    if (it == handlers_.end()) {
        log.push_back("unknown handler " + std::to_string(offset));
        return 0;
    }
    const facade::Runtime runtime(services);
    it->second(runtime, facade::EventArgs(args));
    return 0;
}

} // namespace vorn::testing
