#include "runtime/win32/components/component.h"

#include "runtime/core/engine/engine.h"
#include "runtime/win32/win32_desktop.h"

namespace vorn::win32 {

Component::Component(Win32Desktop& desktop, runtime::LiveWindow& window, runtime::LiveElement& element)
    : desktop_(desktop), element_(&element), window_id_(window.id), element_id_(element.id) {}

Component::~Component() {
    stop_timer();
    desktop_.forget_notices(*this);
}

void Component::detach() {
    stop_timer();
    desktop_.forget_notices(*this);
    element_ = nullptr;
}

bool Component::raise(std::int32_t event, std::initializer_list<std::int64_t> args) {
    if (!alive())
        return false;
    desktop_.engine().raise_event(window_id_, element_id_, event, args);
    return alive();
}

void Component::start_timer(UINT milliseconds) {
    stop_timer();
    timer_ = desktop_.start_timer(*this, milliseconds);
}

void Component::stop_timer() {
    if (timer_ != 0)
        desktop_.stop_timer(timer_);
    timer_ = 0;
}

} // namespace vorn::win32
