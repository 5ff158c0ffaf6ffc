#!/usr/bin/env bash
# The tool on a screen of another DPI under Wine: the prefix's LogPixels is
# set before the tool starts (96, 120, 144 or 192 in the scenario's name).
# The main window's client area is the 96-dpi client scaled, nothing in it
# is cut, and its buttons lie, and answer, at their scaled places; captures
# still give the screen's own pixels.
#   dpi.sh SCENARIO WINDOWS_BIN_DIR ARTEFACT_DIR
set -uo pipefail
scenario=${1:?scenario}
bin=${2:?windows bin directory}
artefacts=${3:?artefact directory}
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tool.sh"
E2E_HELPERS="$bin/e2e"

dpi=${scenario##*_}
case $dpi in
96 | 120 | 144 | 192) ;;
*) e2e_fail "no DPI in the scenario's name: $scenario" ;;
esac

# At 200 % the main window is wider than the usual 1280-pixel test screen,
# as on a real laptop of that scale: the screen is one of its size.
[ "$dpi" = 192 ] && E2E_SCREEN=2560x1600
e2e_start "dpi.$scenario"
mkdir -p "$artefacts"
tool_install "$bin"
export VORN_TRACE="$E2E_DIR/trace.log"
source "$(dirname "$0")/flows.sh"

# Before any program of the prefix runs, so that every one starts at this DPI.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >>"$E2E_DIR/wine.log" 2>&1 ||
    e2e_fail "could not set LogPixels"

# The main window's client area at 96 dpi (678 x 514 outer, less Wine's
# frame of a captioned window), and the place of its buttons in it.
client_96=(672 489)
picture_box_96=(8 64 656 413)
declare -A button_left=([窗口]=8 [全屏]=54 [区域]=100 [放大]=146 [编辑]=192 [复制]=238 [清除]=284 [保存]=330
    [打印]=376 [设置]=426 [关于]=624)
button_top=8 button_width=40 button_height=48

# scaled UNITS: the units in pixels at this DPI, rounded to the nearest.
scaled() { echo $((($1 * dpi + 48) / 96)); }

# near A B: A and B differ by at most one pixel.
near() { [ $(($1 - $2)) -le 1 ] && [ $(($2 - $1)) -le 1 ]; }

# The main window's client area on the screen: cx cy cw ch.
read_client() {
    local line
    line=$(wine "$E2E_HELPERS/winquery.exe" tree "$caption" 5000 2>/dev/null | tr -d '\r' | head -n1)
    read -r cx cy cw ch <<<"$(sed -n 's/.* client=\([-0-9]*\),\([-0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' <<<"$line")"
    [ -n "${ch:-}" ] || e2e_fail "no client area for the main window: $line"
}

# scaled_centre TEXT: where the button showing TEXT should be on the screen.
scaled_centre() {
    echo $((cx + $(scaled $((button_left[$1] + button_width / 2))))) \
        $((cy + $(scaled $((button_top + button_height / 2)))))
}

check_main_window() {
    read_client
    e2e_log "client area at $dpi dpi: ${cw}x${ch} at $cx,$cy"
    near "$cw" "$(scaled "${client_96[0]}")" && near "$ch" "$(scaled "${client_96[1]}")" ||
        e2e_fail "client area ${cw}x${ch} at $dpi dpi; expected $(scaled "${client_96[0]}")x$(scaled "${client_96[1]}")"
    # Nothing cut: the picture box, the lowest control shown, ends inside.
    local box
    box=$(wine "$E2E_HELPERS/winquery.exe" tree "$caption" 5000 2>/dev/null | tr -d '\r' |
        sed -n 's/.*class=VornPictureBox .* rect=\([-0-9]*\),\([-0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p')
    read -r bx by bw bh <<<"$box"
    [ -n "${bh:-}" ] || e2e_fail "no picture box"
    near "$by" "$(scaled "${picture_box_96[1]}")" && near "$bh" "$(scaled "${picture_box_96[3]}")" ||
        e2e_fail "picture box at $by, $bh high; expected $(scaled "${picture_box_96[1]}"), $(scaled "${picture_box_96[3]}")"
    [ $((bx + bw)) -le "$cw" ] && [ $((by + bh)) -le "$ch" ] ||
        e2e_fail "the picture box ($box) reaches past the client area ${cw}x${ch}"
    # Every button where its 96-dpi place puts it, scaled.
    local text at x y ex ey
    for text in "${!button_left[@]}"; do
        at=$(wine "$E2E_HELPERS/winprobe.exe" where "$caption" "$text" 2>/dev/null | tr -d '\r') ||
            e2e_fail "no button $text"
        read -r x y <<<"$at"
        read -r ex ey <<<"$(scaled_centre "$text")"
        near "$x" "$ex" && near "$y" "$ey" || e2e_fail "button $text at $x,$y; expected $ex,$ey"
    done
}

# click_scaled TEXT: clicks the button showing TEXT at its scaled place.
click_scaled() { xdotool mousemove $(scaled_centre "$1") click 1; }
click_button() { click_scaled "$1"; }

# expect_known_part_within_a_pixel SHOT X Y W H: SHOT is the known picture's
# part at (X, Y), W x H, give or take one pixel in each.
expect_known_part_within_a_pixel() {
    local shot=$1 size dx dy
    size=$(identify -format '%w %h' "$shot")
    read -r sw sh <<<"$size"
    near "$sw" "$4" && near "$sh" "$5" || e2e_fail "region shot ${sw}x${sh}; the rectangle drawn is ${4}x${5}"
    for dx in 0 -1 1; do
        for dy in 0 -1 1; do
            convert "$E2E_DIR/known.png" -crop "${sw}x${sh}+$(($2 + dx))+$(($3 + dy))" +repage "$E2E_DIR/part.png"
            [ "$(compare -metric AE "$shot" "$E2E_DIR/part.png" null: 2>&1)" = 0 ] && return 0
        done
    done
    e2e_fail "the region shot is not the rectangle drawn, within a pixel"
}

case $scenario in
main_window_*)
    tool_start
    check_main_window
    # The row's pictures are the ones drawn for this scale, not the 96-dpi
    # ones stretched; at 96 dpi the stored ones.
    if [ "$dpi" = 96 ]; then
        e2e_expect_eq "$(grep -c '^[0-9]* picture drawn for ' "$VORN_TRACE")" 0 "pictures drawn for another scale"
    else
        drawn=$(grep -c "^[0-9]* picture drawn for $(((dpi * 100 + 95) / 96))%: " "$VORN_TRACE")
        [ "$drawn" -ge "${#button_left[@]}" ] || e2e_fail "only $drawn of the row's pictures drawn for $dpi dpi"
    fi
    import -window root "$artefacts/dpi_main_window_$dpi.png"
    e2e_log "screenshot: $artefacts/dpi_main_window_$dpi.png"
    click_scaled "关于"
    e2e_probe_msgbox "关于本软件"
    e2e_dismiss "关于本软件"
    ;;
capture_*)
    show_known_picture
    show_pattern_window
    settings "截图时隐藏" "是否隐藏本窗口" "真"
    tool_start
    read_client
    # A region drawn in screen pixels is the rectangle captured.
    region 1 $((known_at[0] + 21)) $((known_at[1] + 17)) $((known_at[0] + 183)) $((known_at[1] + 101))
    read_clipboard "$E2E_DIR/region.png"
    import -window root "$artefacts/dpi_capture_region_$dpi.png"
    expect_known_part_within_a_pixel "$E2E_DIR/region.png" 21 17 162 84
    read_client
    # Full screen, clicked at its scaled place: the screen's own pixels.
    capture 2
    read_clipboard "$E2E_DIR/shot.png"
    e2e_expect_eq "$(identify -format '%wx%h' "$E2E_DIR/shot.png")" "1280x1024" "full-screen shot size"
    expect_known_picture_in "$E2E_DIR/shot.png"
    convert "$E2E_DIR/shot.png" -crop "${pattern_at[2]}x${pattern_at[3]}+${pattern_at[0]}+${pattern_at[1]}" +repage \
        "$E2E_DIR/shot_pattern.png"
    e2e_expect_eq "$(compare -metric AE "$E2E_DIR/pattern.png" "$E2E_DIR/shot_pattern.png" null: 2>&1)" 0 \
        "pixels of the pattern window that differ in the full-screen shot"
    # The pattern window, picked through the frame: exactly its pixels.
    read_client
    click_scaled "窗口"
    e2e_poll 30 "the highlight frame" frames_shown 1
    e2e_poll 10 "the main window hidden while picking" main_hidden
    xdotool mousemove $((pattern_at[0] + 150)) $((pattern_at[1] + 100))
    e2e_poll 20 "the frame on the pattern window" frame_drawn
    import -window root "$artefacts/dpi_capture_window_frame_$dpi.png"
    xdotool click 1
    e2e_poll 30 "the window capture" sounds_reach 3
    e2e_poll 10 "the frame closed" frames_gone 1
    read_clipboard "$E2E_DIR/window.png"
    e2e_expect_eq "$(identify -format '%wx%h' "$E2E_DIR/window.png")" "300x200" "window shot size"
    e2e_expect_eq "$(compare -metric AE "$E2E_DIR/window.png" "$E2E_DIR/pattern.png" null: 2>&1)" 0 \
        "pixels of the window shot that differ from the screen"
    ;;
edit_*)
    # The editor sizes its canvas from the shot's picture size, in pixels:
    # the canvas shows the shot pixel for pixel, and the picture handed back
    # is the shot at its full resolution.
    show_known_picture
    settings "截图时隐藏" "是否隐藏本窗口" "真"
    tool_start
    read_client
    region 1 "${known_at[0]}" "${known_at[1]}" $((known_at[0] + 240)) $((known_at[1] + 160))
    read_clipboard "$E2E_DIR/region.png"
    e2e_poll 10 "the main window shown again" tool_window_id
    read_client
    editor_open
    import -window root "$artefacts/dpi_editor_$dpi.png"
    e2e_log "screenshot: $artefacts/dpi_editor_$dpi.png"
    put_text "kept by another program"
    xdotool mousemove $((client_x + $(scaled 544))) $((client_y + $(scaled 21))) click 1 # the finishing button
    e2e_poll 20 "the editor closed" editors_closed 1
    read_clipboard "$E2E_DIR/edited.png"
    e2e_expect_eq "$(identify -format '%wx%h' "$E2E_DIR/edited.png")" "$(identify -format '%wx%h' "$E2E_DIR/region.png")" \
        "edited shot size against the shot's"
    e2e_expect_eq "$(compare -metric AE "$E2E_DIR/edited.png" "$E2E_DIR/region.png" null: 2>&1)" 0 \
        "pixels of the edited shot that differ from the shot"
    ;;
*)
    e2e_fail "unknown scenario $scenario"
    ;;
esac
e2e_log "scenario $scenario passed"
