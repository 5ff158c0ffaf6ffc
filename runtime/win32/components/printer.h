// The printer component: pictures drawn on it collect on one page, and the
// end of the job prints that page on the default printer. Positions and
// sizes are screen pixels from the page's top-left corner (see
// portable/conventions.h, page_scale).
#pragma once

#include "runtime/core/picture/bitmap.h"
#include "runtime/win32/components/component.h"

#include <vector>

namespace vorn::win32 {

class Printer final : public Component {
  public:
    Printer(Win32Desktop& desktop, runtime::LiveWindow& window, runtime::LiveElement& element)
        : Component(desktop, window, element) {}
    // A picture that cannot be read leaves its place on the page empty.
    void draw(ByteView picture, std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
    // Prints the page (nothing when nothing was drawn) and starts a new one.
    void end_job(const std::wstring& document_name);

  private:
    struct Placed {
        picture::Image image;
        std::int32_t left, top, width, height;
    };
    std::vector<Placed> page_;
};

} // namespace vorn::win32
