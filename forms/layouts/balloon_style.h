// The style sheet of the main window's balloon tip: the fonts of the tips'
// formatted text. Body text is 9 pt black in 宋体, with Verdana where that
// face is missing; headings, links, code and small print are set apart from
// it. Stored as GBK, one rule per line.
#pragma once

#include <string_view>

namespace vorn::layouts {

inline constexpr std::string_view kBalloonStyleSheet =
    "body { margin: 2px 4px; font-family: \"宋体\", Verdana, sans-serif; font-size: 9pt; color: #000000; "
    "line-height: 1.35; }\n"
    "p { margin: 0 0 4px 0; }\n"
    "h1, h2, h3, h4 { margin: 0 0 4px 0; font-family: \"宋体\", Verdana, sans-serif; color: #1F3A68; "
    "font-weight: bold; }\n"
    "h1 { font-size: 12pt; }\n"
    "h2 { font-size: 10.5pt; }\n"
    "h3 { font-size: 9pt; }\n"
    "h4 { font-size: 9pt; color: #404040; }\n"
    "a { color: #0645AD; text-decoration: underline; }\n"
    "a:visited { color: #5A3696; }\n"
    "a:hover { color: #D04010; }\n"
    "b, strong { font-weight: bold; }\n"
    "i, em { font-style: italic; }\n"
    "code, kbd, pre { font-family: \"Courier New\", Courier, monospace; font-size: 9pt; }\n"
    "code, kbd { padding: 0 2px; background-color: #F2F2F2; }\n"
    "pre { margin: 2px 0 4px 0; padding: 2px 4px; border: 1px solid #D0D0D0; background-color: #F7F7F7; }\n"
    "small, .note { font-size: 7.5pt; color: #606060; }\n"
    "ul, ol { margin: 0 0 4px 16px; padding: 0; }\n"
    "li { margin: 0; }\n"
    "hr { height: 0; border: 0; border-top: 1px solid #C8C8C8; margin: 4px 0; }\n"
    "img { border: 0; }\n";

} // namespace vorn::layouts
