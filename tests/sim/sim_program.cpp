#include "tests/sim/sim_program.h"

#include "tests/forms/sample_forms.h"
#include "tests/support/program_image.h"

#include <stdexcept>

namespace vorn::sim::testing {

namespace {

using namespace forms;
using namespace program;
using forms::testing::make_control;

constexpr std::uint32_t kCodeSize = 0x100;

Window main_window() {
    Window window;
    window.id = kMain;
    window.unit_id = 0x19010005;
    const Bytes caption = forms::testing::encode(
        forms::testing::make_block(class_id::window, {{PropertyId::text, std::string("sim")}}));
    window.elements.push_back(make_control({kMainOwn, "", class_id::window, 50, 50, 400, 300}, caption));
    const std::vector<EventBinding> clicked = {{0, kButtonClicked}};
    window.elements.push_back(
        make_control({kCopy, "按钮_复制", class_id::push_button, 10, 10, 80, 24, 0x05, 0, clicked}));
    window.elements.push_back(
        make_control({kHidden, "按钮_隐藏", class_id::push_button, 10, 40, 80, 24, 0x04, 0, clicked}));
    window.elements.push_back(
        make_control({kOutside, "按钮2", class_id::push_button, 718, 10, 80, 24, 0x05, 0, clicked}));
    window.elements.push_back(make_control(
        {kCanvas, "画板1", class_id::canvas, 100, 40, 200, 150, 0x05, 0, {{-4, kCanvasRightPress}}}));
    window.elements.push_back(make_control(
        {kCheck, "选择框1", class_id::check_box, 10, 70, 80, 24, 0x05, 0, {{0, kCheckClicked}}}));
    window.elements.push_back(make_control(
        {kDevice, "输入设备1", class_id::input_device, 0, -20, 24, 24, 0, 0, {{2, kDevicePointer}}}));
    window.elements.push_back(forms::testing::make_menu_item(kMenu, 0, "菜单", kNoHandler));
    window.elements.push_back(forms::testing::make_menu_item(kMenuItem, 1, "复制图片", kMenuClicked));
    return window;
}

Window dialog_window() {
    Window window;
    window.id = kDialog;
    window.unit_id = 0x19010031;
    window.elements.push_back(make_control({kDialogOwn, "", class_id::window, 80, 80, 200, 100}));
    window.elements.push_back(make_control(
        {kDialogButton, "按钮_确定", class_id::push_button, 10, 10, 80, 24, 0x05, 0, {{0, kButtonClicked}}}));
    return window;
}

std::unique_ptr<runtime::Program> load() {
    FormSection section;
    section.windows = {main_window(), dialog_window()};
    return vorn::testing::load_test_program(section, kStart, kCodeSize);
}

} // namespace

SimProgram::SimProgram() {
    engine = std::make_unique<runtime::Engine>(
        load(), desktop, [this](std::uint32_t offset, const VornArgs& args) {
            auto handler = handlers_.find(offset);
            if (handler != handlers_.end())
                handler->second(facade::Runtime(engine->services()), facade::EventArgs(args));
            return std::uint64_t(0);
        });
    on(kStart, [](const facade::Runtime& rt, const facade::EventArgs&) {
        rt.load_main_window(kMain);
        rt.run_message_loop();
        rt.end_program(0);
    });
}

} // namespace vorn::sim::testing
