#include "runtime/win32/components/timer.h"

#include "forms/events.h"

namespace vorn::win32 {

Timer::Timer(Win32Desktop& desktop, runtime::LiveWindow& window, runtime::LiveElement& element)
    : Component(desktop, window, element) {
    apply_interval();
}

void Timer::apply_interval() {
    const std::int64_t interval = element_->integer(forms::PropertyId::interval);
    if (interval > 0)
        start_timer(UINT(std::min<std::int64_t>(interval, USER_TIMER_MAXIMUM)));
    else
        stop_timer();
}

void Timer::property_changed(forms::PropertyId property) {
    if (property == forms::PropertyId::interval && alive())
        apply_interval();
}

void Timer::on_timer() {
    raise(forms::event::kIntervalElapsed);
}

} // namespace vorn::win32
