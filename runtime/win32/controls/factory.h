// Which wrapper each class of the window definitions gets.
#pragma once

#include "runtime/win32/components/component.h"
#include "runtime/win32/controls/control.h"

#include <memory>

namespace vorn::win32 {

// The control's native window, created as the element says; null when
// Windows refused to create it.
std::unique_ptr<Control> make_control(const ControlArgs& args);
// The component's helper, or null for components that need nothing of
// Windows until the program calls on them (the file dialog).
std::unique_ptr<Component> make_component(Win32Desktop& desktop, runtime::LiveWindow& window,
                                          runtime::LiveElement& element);
// Shape boxes and canvases hold the controls whose parent field names them.
bool is_container_class(std::uint32_t class_id);

} // namespace vorn::win32
