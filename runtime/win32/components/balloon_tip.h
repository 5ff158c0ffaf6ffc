// The balloon tip component: one tooltip control in balloon style, with a
// tool for every control the program attaches a text to. The tooltip shows
// over whichever of our windows holds the control.
#pragma once

#include "runtime/win32/components/component.h"

#include <string>
#include <vector>

namespace vorn::win32 {

class BalloonTip final : public Component {
  public:
    BalloonTip(Win32Desktop& desktop, runtime::LiveWindow& window, runtime::LiveElement& element);
    ~BalloonTip() override;
    // Attaching again to the same control replaces its text.
    void attach(HWND control, const std::wstring& text);
    // The control's window is going away.
    void forget(HWND control);
    void detach() override;

  private:
    struct Tool {
        HWND control;
        HWND root; // the top-level window holding it, which the tool is registered with
    };
    HWND tooltip_ = nullptr;
    std::vector<Tool> tools_;
};

} // namespace vorn::win32
