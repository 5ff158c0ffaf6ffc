// The base of the program's invisible components that need something of
// Windows: timers, the input device, the balloon tip. Like a control
// wrapper, a component is detached when the engine drops its window, and
// stops its timer then.
#pragma once

#include "forms/properties.h"
#include "runtime/core/engine/model.h"

#include "runtime/win32/win32_api.h"

#include <cstdint>
#include <initializer_list>

namespace vorn::win32 {

class Win32Desktop;

class Component {
  public:
    Component(Win32Desktop& desktop, runtime::LiveWindow& window, runtime::LiveElement& element);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    std::uint32_t window_id() const { return window_id_; }
    std::uint32_t element_id() const { return element_id_; }
    virtual void property_changed(forms::PropertyId /*property*/) {}
    virtual void on_timer() {}
    virtual void on_notice() {}
    virtual void detach();

  protected:
    bool alive() const { return element_ != nullptr; }
    // Raises an event of this component; false when it is gone afterwards.
    bool raise(std::int32_t event, std::initializer_list<std::int64_t> args = {});
    void start_timer(UINT milliseconds);
    void stop_timer();
    bool timer_running() const { return timer_ != 0; }

    Win32Desktop& desktop_;
    runtime::LiveElement* element_;

  private:
    std::uint32_t window_id_;
    std::uint32_t element_id_;
    UINT_PTR timer_ = 0;
};

} // namespace vorn::win32
