#!/usr/bin/env bash
# A day of use in one run, under Wine, observed from outside: every flow the
# tool offers, one after the other on one running copy, each step's outcome
# checked where a user would see it (the clipboard, the files, the printed
# page, the windows' places), and a screenshot of each window kept.
#   day_of_use.sh SCENARIO WINDOWS_BIN_DIR ARTEFACT_DIR
set -uo pipefail
scenario=${1:?scenario}
bin=${2:?windows bin directory}
artefacts=${3:?artefact directory}
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tool.sh"
source "$(dirname "$0")/printer.sh"
E2E_HELPERS="$bin/e2e"

[ "$scenario" = every_flow ] || { echo "unknown scenario $scenario" >&2; exit 2; }
e2e_start "day_of_use.$scenario"
mkdir -p "$artefacts"
export VORN_TRACE="$E2E_DIR/trace.log"
source "$(dirname "$0")/flows.sh"
printer_start
tool_install "$bin"
mkdir -p "$E2E_C/out"
settings "编辑截图" "方框颜色" "255" "编辑截图" "方框线条粗细" "3" "编辑截图" "箭头颜色" "65280" \
    "编辑截图" "箭头线条粗细" "3" "编辑截图" "文字颜色" "16711680" "编辑截图" "字体大小" "24"
keep() { import -window root "$artefacts/day_of_use.$1.png"; }
step() { e2e_log "step: $*"; }

show_known_picture
show_pattern_window
tool_start
keep main_window

step "full-screen capture"
capture 1
read_clipboard "$E2E_DIR/full.png"
e2e_expect_eq "$(identify -format '%wx%h' "$E2E_DIR/full.png")" "1280x1024" "the full-screen shot's size"
expect_known_picture_in "$E2E_DIR/full.png"

step "region capture"
tool_click "区域"
e2e_poll 30 "the overlay" overlay_shown
keep region_overlay
xdotool mousemove $((known_at[0] + 20)) $((known_at[1] + 20)) mousedown 1
xdotool mousemove $((known_at[0] + 100)) $((known_at[1] + 60)) mousemove $((known_at[0] + 180)) $((known_at[1] + 100))
xdotool mouseup 1
e2e_poll 30 "the region capture" sounds_reach 2
e2e_poll 10 "the overlay destroyed" overlays_destroyed 1
e2e_poll 10 "the main window back" tool_window_id
read_clipboard "$E2E_DIR/region.png"
expect_known_part "$E2E_DIR/region.png" "160x80+20+20"

step "window capture of another program's window"
tool_click "窗口"
e2e_poll 30 "the highlight frame" frames_shown 1
xdotool mousemove $((pattern_at[0] + 150)) $((pattern_at[1] + 100))
e2e_poll 20 "the frame on the pattern window" hover_snapshots 1
e2e_poll 10 "the frame drawn" frame_drawn
keep window_frame
xdotool click 1
e2e_poll 30 "the window capture" sounds_reach 3
e2e_poll 10 "the main window back" tool_window_id
read_clipboard "$E2E_DIR/window.png"
e2e_expect_eq "$(compare -metric AE "$E2E_DIR/window.png" "$E2E_DIR/pattern.png" null: 2>&1)" 0 \
    "pixels of the window shot that differ from the pattern window"

step "copy"
put_text "a text of another program"
tool_click "复制"
read_clipboard "$E2E_DIR/copied.png"
e2e_expect_eq "$(compare -metric AE "$E2E_DIR/copied.png" "$E2E_DIR/pattern.png" null: 2>&1)" 0 \
    "pixels of the copy that differ from the window shot"

step "zoom: enlarge twice, shrink once, close"
tool_click "放大"
e2e_poll 20 "the enlarged view" view_shown
e2e_poll 10 "the enlarged view at 860x574+50+50 (now $(view_geometry))" geometry_is "860x574+50+50"
keep enlarged_view
view_click 16 11
e2e_poll 10 "one enlarge step" geometry_is "903x602+188+211"
view_click 16 11
e2e_poll 10 "two enlarge steps" geometry_is "948x632+166+196"
view_click 44 11
e2e_poll 10 "a shrink step" geometry_is "900x600+190+212"
view_click $((900 - 32 + 15)) 12
e2e_poll 10 "the view closed" view_gone
e2e_poll 10 "the view's modal loop ended" traced_reach 'modal loop window 0x52010124 ends' 1

step "edit a shot of the known picture: rectangle, arrow, text, finish"
known_region 4
editor_open
e2e_poll 10 "the main window hidden while editing" main_hidden
e2e_poll 10 "the shot on the editor's canvas" canvas_shows_known
editor_annotate "AB"
keep editor
editor_finish 1
read_clipboard "$E2E_DIR/edited.png"
e2e_expect_eq "$(identify -format '%wx%h' "$E2E_DIR/edited.png")" "240x160" "the edited shot's size"
for spot in "20 20" "60 20" "99 50" "60 79"; do
    read -r x y <<<"$spot"
    e2e_expect_eq "$(pixel_at "$E2E_DIR/edited.png" "$x" "$y")" "srgb(255,0,0)" "the rectangle's edge at $x,$y"
done
e2e_expect_eq "$(pixel_at "$E2E_DIR/edited.png" 220 100)" "srgb(0,255,0)" "the arrow's tip"
[ "$(colour_count "$E2E_DIR/edited.png" 60x40+15+105 "srgb(0,0,255)")" -gt 20 ] ||
    e2e_fail "no text in its colour where it was stamped"

step "save as JPEG"
tool_click "保存"
e2e_poll 20 "the save dialog" xdotool search --onlyvisible --name '^另存为$'
keep save_dialog
save_dialog_answers 1 type_name 'C:\out\day'
e2e_poll 30 "day.jpg written" identify "$E2E_C/out/day.jpg"
expect_saved "$E2E_C/out/day.jpg" "$E2E_DIR/edited.png" 0.06

step "print to the PDF printer"
tool_click "打印"
printer_wait_pdf 90
pdftoppm -r 48 -png -singlefile "$PRINTER_PDF" "$artefacts/day_of_use.printed_page" || e2e_fail "unreadable PDF"
convert "$artefacts/day_of_use.printed_page.png" -bordercolor white -border 1 -fuzz 5% -trim +repage \
    "$E2E_DIR/printed.png"
read -r pw ph <<<"$(identify -format '%w %h' "$E2E_DIR/printed.png")"
convert "$E2E_DIR/edited.png" -resize "${pw}x${ph}!" "$E2E_DIR/scaled.png"
error=$(compare -metric RMSE "$E2E_DIR/printed.png" "$E2E_DIR/scaled.png" null: 2>&1 | sed -n 's/.*(\([0-9.e-]*\)).*/\1/p')
awk -v w="$pw" -v h="$ph" -v e="$error" 'BEGIN { exit !(h > 0 && w / h > 1.4 && w / h < 1.6 && e != "" && e < 0.1) }' ||
    e2e_fail "the printed page (${pw}x${ph}, RMSE $error) is not the edited shot"

step "every option toggled, a capture under each"
rectangle=$(main_rectangle)
visible_shows() { traced 'property 0x52010001/[^ ]* visible$'; }
open_settings
e2e_expect_eq "$(checks)" "0 1 0" "the options before any click"
keep settings_window
click_option "截图时隐藏本窗口"
e2e_poll 10 "the hide option stored" stored "是否隐藏本窗口=真"
close_settings
capture 5
read_clipboard "$E2E_DIR/hidden.png"
e2e_expect_eq "$(brightest_in "$E2E_DIR/hidden.png" "$rectangle")" 0 "brightest pixel where the hidden window was"
open_settings
click_option "截图完播放声音"
e2e_poll 10 "the sound option stored" stored "是否播放=假"
close_settings
shown=$(visible_shows)
tool_click "全屏"
e2e_poll 30 "the silent capture (hidden and shown again)" traced_reach 'property 0x52010001/[^ ]* visible$' $((shown + 2))
e2e_expect_eq "$(sounds_played)" 5 "capture sounds with the sound option off"
open_settings
click_option "截图完自动自制图片到剪贴板"
e2e_poll 10 "the copy option stored" stored "复制到剪贴板=真"
e2e_expect_eq "$(checks)" "1 0 1" "the options after three clicks"
close_settings
put_text "before the last capture"
shown=$(visible_shows)
tool_click "全屏"
e2e_poll 30 "the last capture (hidden and shown again)" traced_reach 'property 0x52010001/[^ ]* visible$' $((shown + 2))
read_clipboard "$E2E_DIR/last.png"
expect_known_picture_in "$E2E_DIR/last.png"

step "clear"
tool_click "清除"
tool_click "放大"
e2e_expect_eq "$(box_text)" "没有截图!" "zoom after the clear"
dismiss_box

step "exit"
e2e_poll 10 "the main window" tool_window_id
keep last
wine "$E2E_HELPERS/winquery.exe" close "$TOOL_CAPTION" 2>>"$E2E_DIR/wine.log"
E2E_PID=$TOOL_PID
e2e_wait_exit 30
e2e_expect_eq "$E2E_EXIT" 0 "the exit code"
e2e_log "scenario $scenario passed"
