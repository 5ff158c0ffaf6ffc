// The program's six windows as the form section stores them, built from the
// layout tables: the main window, the region overlay, the window-highlight
// frame, the enlarged view, the editing window and the settings window, in
// that directory order.
#pragma once

#include "base/result.h"
#include "forms/layouts/layout.h"
#include "forms/section.h"
#include "forms/writer.h"

#include <functional>
#include <span>

namespace vorn::layouts {

// The bytes of one of the program's pictures; the image builder draws them.
using PictureSource = std::function<Result<Bytes>(Picture)>;

// The layouts in directory order.
std::span<const WindowSpec* const> window_layouts();

// One window: names, captions and texts converted to GBK, pictures taken
// from `pictures`, class blocks encoded from their class's defaults and the listed settings,
// child lists derived from the parent fields. Fails on a text that GBK cannot
// hold, an element without a name, or a setting its class does not store.
Result<forms::Window> build_window(const WindowSpec& spec, const PictureSource& pictures);

Result<forms::FormSection> program_windows(const PictureSource& pictures);

// The rules under which the windows are written: every handler offset must
// be an entry of the entry-point table.
forms::WriteRules write_rules();

// UTF-8 to GBK, refusing characters that GBK cannot hold rather than letting
// them become question marks; `what` names the text in the error.
Result<std::string> to_gbk(std::string_view utf8, std::string_view what);

} // namespace vorn::layouts
