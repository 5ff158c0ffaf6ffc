#!/usr/bin/env bash
# Full-screen capture and the clipboard under Wine, observed from outside: a
# known picture is put on the screen with ImageMagick, the tool is clicked
# like a user would, and what lands on the X clipboard is read back with xclip
# and compared pixel for pixel.
#   capture.sh SCENARIO WINDOWS_BIN_DIR ARTEFACT_DIR
set -uo pipefail
scenario=${1:?scenario}
bin=${2:?windows bin directory}
artefacts=${3:?artefact directory}
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tool.sh"
E2E_HELPERS="$bin/e2e"

e2e_start "capture.$scenario"
mkdir -p "$artefacts"
tool_install "$bin"
export VORN_TRACE="$E2E_DIR/trace.log"
source "$(dirname "$0")/flows.sh"

case $scenario in
region)
    show_known_picture
    tool_start
    # Down and right, from (20, 20) of the known picture to (180, 100).
    region 1 $((known_at[0] + 20)) $((known_at[1] + 20)) $((known_at[0] + 180)) $((known_at[1] + 100))
    read_clipboard "$E2E_DIR/region1.png"
    expect_known_part "$E2E_DIR/region1.png" "160x80+20+20"
    tool_window_id >/dev/null || e2e_fail "the main window is not shown after the region capture"
    import -window root "$artefacts/capture_region.png"
    # Up and left: the shot is still the rectangle drawn.
    put_text "between the two"
    region 2 $((known_at[0] + 200)) $((known_at[1] + 140)) $((known_at[0] + 10)) $((known_at[1] + 10))
    read_clipboard "$E2E_DIR/region2.png"
    expect_known_part "$E2E_DIR/region2.png" "190x130+10+10"
    ;;
region_overlay)
    # The frozen picture is the screen before the overlay: the known picture
    # and not a hidden main window; a right click cancels without a sound.
    show_known_picture
    settings "截图时隐藏" "是否隐藏本窗口" "真"
    tool_start
    rectangle=$(main_rectangle)
    put_text "kept by another program"
    tool_click "区域"
    e2e_poll 30 "the overlay" overlay_shown
    eval "$(xdotool search --onlyvisible --name '^捕获指定区域$' getwindowgeometry --shell | grep -E '^(WIDTH|HEIGHT)=')"
    e2e_expect_eq "${WIDTH}x${HEIGHT}" "1280x1024" "the overlay covers the screen"
    import -window root "$artefacts/capture_region_overlay.png"
    expect_known_picture_in "$artefacts/capture_region_overlay.png"
    e2e_expect_eq "$(brightest_in "$artefacts/capture_region_overlay.png" "$rectangle")" 0 \
        "brightest pixel of the frozen picture where the hidden main window was"
    # A band follows the drag; the right button cancels.
    xdotool mousemove 100 100 mousedown 1 mousemove 300 300
    xdotool mouseup 1 2>/dev/null || true
    e2e_poll 30 "the rubber band's capture" sounds_reach 1
    e2e_poll 10 "the overlay closed" overlay_gone
    e2e_poll 10 "the main window shown again" tool_window_id
    clipboard_text_is "kept by another program" && e2e_fail "the drag captured nothing"
    put_text "kept by another program"
    tool_click "区域"
    e2e_poll 30 "the second overlay" overlays_shown 2
    e2e_poll 10 "the second overlay on screen" overlay_shown
    xdotool mousemove 400 400 click 3
    e2e_poll 10 "the overlay closed" overlay_gone
    e2e_poll 10 "the main window shown again" tool_window_id
    clipboard_text_is "kept by another program" || e2e_fail "a cancel changed the clipboard"
    e2e_expect_eq "$(sounds_played)" 1 "capture sounds after the cancel"
    ;;
full_screen)
    show_known_picture
    tool_start
    import -window root "$E2E_DIR/before.png"
    capture 1
    tool_window_id >/dev/null || e2e_fail "the main window is not shown after the capture"
    read_clipboard "$E2E_DIR/shot.png"
    e2e_expect_eq "$(identify -format '%wx%h' "$E2E_DIR/shot.png")" "1280x1024" "clipboard picture size"
    expect_known_picture_in "$E2E_DIR/shot.png"
    # The picture box shows the shot now: the window looks different.
    import -window root "$artefacts/capture_full_screen.png"
    e2e_log "screenshot: $artefacts/capture_full_screen.png"
    read -r w h x y <<<"$(main_rectangle)"
    changed=$(compare -metric AE -extract "${w}x${h}+${x}+${y}" "$E2E_DIR/before.png" \
        "$artefacts/capture_full_screen.png" null: 2>&1)
    [ "${changed%% *}" -gt 1000 ] 2>/dev/null || e2e_fail "the picture box shows no shot ($changed pixels changed)"
    # Copy puts what the box shows back on the clipboard, replacing a text.
    put_text "a text of another program"
    tool_click "复制"
    read_clipboard "$E2E_DIR/copied.png"
    expect_known_picture_in "$E2E_DIR/copied.png"
    ;;
hide_setting)
    show_known_picture
    settings "截图时隐藏" "是否隐藏本窗口" "真"
    tool_start
    rectangle=$(main_rectangle)
    capture 1
    e2e_poll 10 "the main window shown again" tool_window_id
    read_clipboard "$E2E_DIR/hidden.png"
    expect_known_picture_in "$E2E_DIR/hidden.png"
    e2e_expect_eq "$(brightest_in "$E2E_DIR/hidden.png" "$rectangle")" 0 \
        "brightest pixel where the hidden window was"
    # The file is read afresh: with "假" the window stays in the next shot.
    settings "截图时隐藏" "是否隐藏本窗口" "假"
    capture 2
    read_clipboard "$E2E_DIR/shown.png"
    [ "$(brightest_in "$E2E_DIR/shown.png" "$rectangle")" -gt 0 ] ||
        e2e_fail "the main window is missing from a shot taken without hiding"
    ;;
copy_empty)
    tool_start
    put_text "kept by another program"
    tool_click "复制"
    e2e_probe_msgbox "$caption"
    e2e_expect_line "$E2E_BOX" "text=您还没有截图呢！"
    main=$(tool_window_id)
    e2e_poll 10 "the message box closed" dismiss_box_beside "$main"
    clipboard_text_is "kept by another program" || e2e_fail "the clipboard text was replaced"
    ;;
window)
    # Click 窗口, point at the pattern window, click once: that click takes it.
    show_pattern_window
    settings "截图时隐藏" "是否隐藏本窗口" "真"
    tool_start
    put_text "kept by another program"
    tool_click "窗口"
    e2e_poll 30 "the highlight frame" frames_shown 1
    e2e_poll 10 "the main window hidden while picking" main_hidden
    xdotool mousemove $((pattern_at[0] + 150)) $((pattern_at[1] + 100))
    e2e_poll 20 "the frame on the pattern window" hover_snapshots 1
    e2e_poll 10 "the frame drawn" frame_drawn
    import -window root "$artefacts/capture_window_frame.png"
    e2e_log "screenshot: $artefacts/capture_window_frame.png"
    xdotool click 1
    e2e_poll 30 "the window capture" sounds_reach 1
    e2e_poll 10 "the frame closed" frames_gone 1
    e2e_poll 10 "the main window shown again" tool_window_id
    read_clipboard "$E2E_DIR/window.png"
    e2e_expect_eq "$(identify -format '%wx%h' "$E2E_DIR/window.png")" "300x200" "window shot size"
    e2e_expect_eq "$(compare -metric AE "$E2E_DIR/window.png" "$E2E_DIR/pattern.png" null: 2>&1)" 0 \
        "pixels of the window shot that differ from the screen"
    # A right click cancels: the main window comes back, nothing is taken.
    put_text "kept by another program"
    tool_click "窗口"
    e2e_poll 30 "the second frame" frames_shown 2
    # Over a window: Wine sees no presses over the bare X root.
    xdotool mousemove $((pattern_at[0] + 100)) $((pattern_at[1] + 50))
    e2e_poll 20 "the second frame on the pattern window" hover_snapshots 2
    xdotool click 3
    e2e_poll 10 "the second frame closed" frames_gone 2
    e2e_poll 10 "the main window shown after the cancel" tool_window_id
    clipboard_text_is "kept by another program" || e2e_fail "a cancel changed the clipboard"
    e2e_expect_eq "$(sounds_played)" 1 "capture sounds after the cancel"
    ;;
edit)
    # A region shot of the known picture, annotated with a rectangle, an
    # arrow and a text in the colours 设置.ini keeps for each tool.
    show_known_picture
    settings "编辑截图" "方框颜色" "255" "编辑截图" "方框线条粗细" "3" "编辑截图" "箭头颜色" "65280" \
        "编辑截图" "箭头线条粗细" "3" "编辑截图" "文字颜色" "16711680" "编辑截图" "字体大小" "24"
    tool_start
    region 1 "${known_at[0]}" "${known_at[1]}" $((known_at[0] + 240)) $((known_at[1] + 160))
    tool_click "编辑"
    e2e_poll 30 "the editor" editor_shown
    e2e_poll 20 "the editor's tools" wine "$E2E_HELPERS/winprobe.exe" where "编辑截图" "□"
    e2e_poll 10 "the main window hidden while editing" main_hidden
    # 240 x 160 on a 1280 x 1024 screen: a 550 x 168 frame, the window 578 x 252 centred.
    eval "$(xdotool search --onlyvisible --name '^编辑截图$' getwindowgeometry --shell | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    e2e_expect_eq "${WIDTH}x${HEIGHT}+${X}+${Y}" "578x252+351+371" "the editor's place on the screen"
    read -r client_x client_y <<<"$(tool_client "编辑截图")"
    [ -n "$client_y" ] || e2e_fail "the editor's client area was not found"
    canvas=($((client_x + 9 + 155)) $((client_y + 44 + 4))) # frame at 9, 44; canvas centred in it
    e2e_poll 10 "the shot on the editor's canvas" canvas_shows_known
    editor_click "□"
    canvas_drag 20 20 100 80
    e2e_poll 10 "the rectangle drawn" canvas_pixel_is 60 20 "srgb(255,0,0)"
    editor_click "→"
    canvas_drag 130 100 220 100
    e2e_poll 10 "the arrow drawn" canvas_pixel_is 220 100 "srgb(0,255,0)"
    editor_click "字"
    xdotool mousemove $((canvas[0] + 20)) $((canvas[1] + 110)) click 1
    sleep 0.3 # the box takes the focus as the press is handled; no window appears to wait for
    xdotool type "AB"
    xdotool key Return
    import -window root "$artefacts/edit_annotated.png"
    e2e_log "screenshot: $artefacts/edit_annotated.png"
    xdotool mousemove $((client_x + 544)) $((client_y + 21)) click 1 # the finishing button
    e2e_poll 20 "the editor closed" editors_closed 1
    e2e_poll 10 "the main window shown again" tool_window_id
    read_clipboard "$E2E_DIR/edited.png"
    e2e_expect_eq "$(identify -format '%wx%h' "$E2E_DIR/edited.png")" "240x160" "edited shot size"
    for spot in "20 20" "60 20" "20 50" "99 50" "60 79"; do
        read -r x y <<<"$spot"
        e2e_expect_eq "$(pixel_at "$E2E_DIR/edited.png" "$x" "$y")" "srgb(255,0,0)" "the rectangle's edge at $x,$y"
    done
    for spot in "170 100" "220 100" "214 100"; do
        read -r x y <<<"$spot"
        e2e_expect_eq "$(pixel_at "$E2E_DIR/edited.png" "$x" "$y")" "srgb(0,255,0)" "the arrow at $x,$y"
    done
    [ "$(colour_count "$E2E_DIR/edited.png" 60x40+15+105 "srgb(0,0,255)")" -gt 20 ] ||
        e2e_fail "no text in the chosen colour where it was stamped"
    # Untouched parts are the shot itself.
    convert "$E2E_DIR/known.png" -crop 240x16+0+0 +repage "$E2E_DIR/known_top.png"
    convert "$E2E_DIR/edited.png" -crop 240x16+0+0 +repage "$E2E_DIR/edited_top.png"
    e2e_expect_eq "$(compare -metric AE "$E2E_DIR/edited_top.png" "$E2E_DIR/known_top.png" null: 2>&1)" 0 \
        "pixels that differ from the shot above the shapes"
    e2e_expect_eq "$(pixel_at "$E2E_DIR/edited.png" 60 50)" "srgb(16,224,64)" \
        "inside the rectangle's outline (the known picture's green block)"
    # Closed with its close box, the editor leaves the picture and the clipboard.
    put_text "kept by another program"
    tool_click "编辑"
    e2e_poll 30 "the editor again" editor_shown
    e2e_poll 20 "the editor's tools" wine "$E2E_HELPERS/winprobe.exe" where "编辑截图" "□"
    editor_click "□"
    canvas_drag 10 10 200 150
    wine "$E2E_HELPERS/winquery.exe" close "编辑截图" 2>>"$E2E_DIR/wine.log"
    e2e_poll 20 "the editor closed again" editors_closed 2
    e2e_poll 10 "the main window shown after the close" tool_window_id
    clipboard_text_is "kept by another program" || e2e_fail "closing the editor changed the clipboard"
    # The colour dialog and the font drop-down, with the mouse: what they
    # choose is in 设置.ini at once, under the tool's key and "字体".
    tool_click "编辑"
    e2e_poll 30 "the editor a third time" editor_shown
    e2e_poll 20 "the editor's tools" wine "$E2E_HELPERS/winprobe.exe" where "编辑截图" "□"
    read -r client_x client_y <<<"$(tool_client "编辑截图")"
    editor_click "□"
    xdotool mousemove $((client_x + 313)) $((client_y + 22)) click 1 # the colour picker
    e2e_poll 20 "the colour dialog" xdotool search --onlyvisible --name '^颜色$'
    dialog=$(xdotool search --onlyvisible --name '^颜色$' | head -n1)
    eval "$(xdotool getwindowgeometry --shell "$dialog" | grep -E '^(X|Y)=')"
    xdotool mousemove $((X + 30)) $((Y + 60)) click 1 # a swatch of the basic colours
    import -window root "$artefacts/edit_colour_dialog.png"
    xdotool key Return
    e2e_poll 10 "the colour dialog closed" sh -c "! xdotool search --onlyvisible --name '^颜色\$'"
    e2e_poll 10 "the chosen colour stored" stored_setting_is_not "方框颜色" "255"
    xdotool mousemove $((client_x + 465)) $((client_y + 22)) click 1 # the font picker
    sleep 0.5 # the list drops down as the click is handled; nothing to wait for
    xdotool key Down Return
    e2e_poll 10 "the chosen font stored" stored_setting_is_not "字体" ""
    wine "$E2E_HELPERS/winquery.exe" close "编辑截图" 2>>"$E2E_DIR/wine.log"
    e2e_poll 20 "the editor closed a third time" editors_closed 3
    e2e_log "stored: 方框颜色=$(stored_setting "方框颜色") 字体=$(stored_setting "字体")"
    ;;
clipboard_held)
    # Another program keeps the clipboard open: captures and copies still
    # complete, nothing hangs, and what the clipboard held survives.
    show_known_picture
    tool_start
    put_text "earlier"
    (cd "$E2E_HELPERS" && exec wine clipboard_holder.exe 0 >"$E2E_DIR/holder.txt" 2>>"$E2E_DIR/wine.log") &
    holder=$!
    E2E_PIDS+=("$holder")
    e2e_poll 30 "the clipboard held" grep -q '^held' "$E2E_DIR/holder.txt"
    capture 1
    e2e_poll 10 "the main window shown after the capture" tool_window_id
    clipboard_text_is "earlier" || e2e_fail "a capture that could not open the clipboard changed it"
    tool_click "复制"
    capture 2 # the copy has returned: the tool still answers
    clipboard_text_is "earlier" || e2e_fail "a copy that could not open the clipboard changed it"
    # Ended within this prefix only, as the system would end a hung program.
    wine taskkill /f /im clipboard_holder.exe >>"$E2E_DIR/wine.log" 2>&1
    e2e_poll 10 "the holder gone" sh -c "! kill -0 $holder 2>/dev/null"
    # Held for a moment only: the capture goes on either way; once it is free, copy gets there.
    (cd "$E2E_HELPERS" && exec wine clipboard_holder.exe 1 >"$E2E_DIR/holder1.txt" 2>>"$E2E_DIR/wine.log") &
    E2E_PIDS+=($!)
    e2e_poll 30 "the clipboard held again" grep -q '^held' "$E2E_DIR/holder1.txt"
    capture 3
    e2e_poll 20 "the clipboard released" grep -q '^released' "$E2E_DIR/holder1.txt"
    tool_click "复制"
    read_clipboard "$E2E_DIR/copied.png"
    expect_known_picture_in "$E2E_DIR/copied.png"
    ;;
*)
    e2e_fail "unknown scenario $scenario"
    ;;
esac
e2e_log "scenario $scenario passed"
