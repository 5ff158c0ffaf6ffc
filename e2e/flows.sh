# The user's flows the scenarios share, driven from outside as a user would:
# a known picture on the screen, the capture modes, the clipboard read back,
# the editor, the save dialog, the enlarged view and message boxes. Sourced
# after lib.sh and tool.sh, once e2e_start has run and VORN_TRACE is set;
# E2E_HELPERS names the helper programs' directory.

caption=$TOOL_CAPTION
known_at=(1000 800) # where the known picture is shown, clear of the main window

# A picture no screen shows by chance, in a plain X window at a known place.
show_known_picture() {
    e2e_make_known_picture "$E2E_DIR/known.png"
    e2e_show_picture "$E2E_DIR/known.png" "${known_at[0]}" "${known_at[1]}"
    # The window is mapped before it is drawn: wait until the screen shows it.
    e2e_poll 40 "the known picture drawn" known_picture_on_screen
}

# pixels_off_known PICTURE: how many pixels of the known picture's place in
# PICTURE differ from it.
pixels_off_known() {
    convert "$1" -crop "240x160+${known_at[0]}+${known_at[1]}" +repage "$E2E_DIR/at_known.png" &&
        compare -metric AE "$E2E_DIR/at_known.png" "$E2E_DIR/known.png" null: 2>&1
}

known_picture_on_screen() {
    import -window root "$E2E_DIR/screen.png" && [ "$(pixels_off_known "$E2E_DIR/screen.png")" = 0 ]
}

# settings SECTION KEY VALUE...: writes 设置.ini beside the program, in GBK.
settings() {
    local section=
    : >"$E2E_DIR/settings.txt"
    while [ $# -ge 3 ]; do
        [ "$1" = "$section" ] || printf '[%s]\r\n' "$1" >>"$E2E_DIR/settings.txt"
        section=$1
        printf '%s=%s\r\n' "$2" "$3" >>"$E2E_DIR/settings.txt"
        shift 3
    done
    iconv -f UTF-8 -t GBK "$E2E_DIR/settings.txt" >"$TOOL_APP/设置.ini"
}

# click_button TEXT: how the flows below click the main window's buttons; a
# scenario may click them its own way (at the place it expects them).
click_button() { tool_click "$1"; }

sounds_played() { grep -c '^[0-9]* sound ' "$VORN_TRACE" 2>/dev/null || true; }
sounds_reach() { [ "$(sounds_played)" -ge "$1" ]; }

# capture N: clicks 全屏 and waits for the Nth capture sound, the flow's last
# step before the window is shown again.
capture() {
    click_button "全屏"
    e2e_poll 30 "capture $1" sounds_reach "$1"
    e2e_poll 10 "the main window back after capture $1" tool_window_id
}

clipboard_has_bitmap() { timeout 10 xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -qx 'image/bmp'; }

# read_clipboard FILE: the clipboard's bitmap as a PNG.
read_clipboard() {
    # Taking the clipboard over from another X client, Wine now and then
    # stalls for seconds on a loaded machine before it offers the bitmap.
    e2e_poll 30 "a bitmap on the clipboard" clipboard_has_bitmap
    timeout 20 xclip -selection clipboard -t image/bmp -o >"$E2E_DIR/clip.bmp" || e2e_fail "could not read the clipboard"
    convert "$E2E_DIR/clip.bmp" "$1" || e2e_fail "the clipboard bitmap does not read"
}

expect_known_picture_in() {
    e2e_expect_eq "$(pixels_off_known "$1")" 0 "pixels of the known picture that differ in the shot"
}

# put_text TEXT: another program owns the clipboard with a text.
put_text() {
    printf '%s' "$1" | xclip -selection clipboard -quiet 2>/dev/null &
    E2E_PIDS+=($!)
    e2e_poll 10 "the text on the clipboard" clipboard_text_is "$1"
}
clipboard_text_is() { [ "$(timeout 10 xclip -selection clipboard -o 2>/dev/null)" = "$1" ]; }

# The main window's outer rectangle on the screen: W H X Y.
main_rectangle() {
    xdotool getwindowgeometry --shell "$(tool_window_id)" |
        awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print w, h, x, y}'
}

# Largest channel value inside the rectangle: 0 when it is all black, as
# the bare test display is.
brightest_in() {
    local w h x y
    read -r w h x y <<<"$2"
    convert "$1" -crop "${w}x${h}+${x}+${y}" +repage -format '%[fx:int(255*maxima)]' info:
}

# dismiss_box_beside MAIN_ID: presses Enter in every other window with the
# tool's caption (the box carries it, having no title of its own); succeeds
# once only the main window is left.
dismiss_box_beside() {
    local id left=0
    for id in $(xdotool search --name "^$caption\$" 2>/dev/null); do
        [ "$id" = "$1" ] && continue
        left=1
        xdotool windowfocus "$id" key Return 2>/dev/null || true
    done
    [ $left -eq 0 ]
}

# The region overlay: shown once its created handler has put the frozen
# picture on it (the runtime shows a window only then).
overlay_shown() {
    grep -q '^[0-9]* show_window 0x520100b4$' "$VORN_TRACE" 2>/dev/null &&
        xdotool search --onlyvisible --name '^捕获指定区域$' >/dev/null 2>&1
}
overlay_gone() { ! xdotool search --onlyvisible --name '^捕获指定区域$' >/dev/null 2>&1; }
overlays_shown() { [ "$(grep -c '^[0-9]* show_window 0x520100b4$' "$VORN_TRACE" 2>/dev/null)" -ge "$1" ]; }
overlays_destroyed() { [ "$(grep -c '^[0-9]* destroy_window 0x520100b4$' "$VORN_TRACE" 2>/dev/null)" -ge "$1" ]; }

# region N X1 Y1 X2 Y2: clicks 区域, drags from one screen point to the other
# over the frozen picture once the next overlay shows it, and waits for the
# Nth capture sound.
region() {
    local overlays
    overlays=$(grep -c '^[0-9]* show_window 0x520100b4$' "$VORN_TRACE" 2>/dev/null)
    click_button "区域"
    e2e_poll 30 "the overlay for capture $1" overlays_shown $((overlays + 1))
    e2e_poll 10 "the overlay for capture $1 on screen" overlay_shown
    xdotool mousemove "$2" "$3" mousedown 1
    xdotool mousemove $((($2 + $4) / 2)) $((($3 + $5) / 2))
    xdotool mousemove "$4" "$5"
    xdotool mouseup 1
    e2e_poll 30 "region capture $1" sounds_reach "$1"
    e2e_poll 10 "the overlay closed" overlay_gone
    # Hiding the full-screen overlay, Wine waits up to 2 s for a window
    # manager (this display has none) to withdraw it; the flow ends after.
    e2e_poll 10 "the overlay for capture $1 destroyed" overlays_destroyed $((overlays + 1))
    # Shown again after the sound: a click before X maps it would be lost.
    e2e_poll 10 "the main window back after capture $1" tool_window_id
}

# Another program's window with a known pattern, 300 x 200 at (900, 600):
# clear of the main window, and picked through its snapshot on the frame.
pattern_at=(900 600 300 200)
show_pattern_window() {
    e2e_launch "$E2E_HELPERS" pattern_window.exe "${pattern_at[@]}"
    e2e_poll 30 "the pattern window" xdotool search --onlyvisible --name '^图案窗口$'
    e2e_poll 20 "the pattern drawn" pattern_drawn
}
pattern_drawn() {
    import -window root "$E2E_DIR/pattern_screen.png" &&
        convert "$E2E_DIR/pattern_screen.png" -crop "${pattern_at[2]}x${pattern_at[3]}+${pattern_at[0]}+${pattern_at[1]}" \
            +repage "$E2E_DIR/pattern.png" &&
        # The pattern's corner is black, its far corner yellowish: drawn, not the bare display.
        [ "$(convert "$E2E_DIR/pattern.png" -format '%[pixel:p{299,199}]' info:)" != "srgb(0,0,0)" ]
}
frames_shown() { [ "$(grep -c '^[0-9]* show_window 0x52010192$' "$VORN_TRACE" 2>/dev/null)" -ge "$1" ]; }
frames_gone() { [ "$(grep -c '^[0-9]* destroy_window 0x52010192$' "$VORN_TRACE" 2>/dev/null)" -ge "$1" ]; }
hover_snapshots() { [ "$(grep -c '^[0-9]* snapshot 0x[0-9a-f]* 300x200$' "$VORN_TRACE" 2>/dev/null)" -ge "$1" ]; }
main_hidden() { ! tool_window_id; }
# The bars outline the pattern window 4 pixels outside it: red there.
frame_drawn() {
    import -window root "$E2E_DIR/frame.png" &&
        [ "$(pixel_at "$E2E_DIR/frame.png" $((pattern_at[0] - 2)) $((pattern_at[1] + 100)))" = "srgb(255,0,0)" ] &&
        [ "$(pixel_at "$E2E_DIR/frame.png" $((pattern_at[0] + 150)) $((pattern_at[1] + pattern_at[3] + 2)))" = "srgb(255,0,0)" ]
}
# pixel_at PICTURE X Y: the pixel as srgb(r,g,b).
pixel_at() { convert "$1" -format "%[pixel:p{$2,$3}]" info:; }

# The editing window: shown, and where its client area lies on the screen.
editor_shown() { xdotool search --onlyvisible --name '^编辑截图$' >/dev/null 2>&1; }
editor_gone() { ! editor_shown; }
editor_click() {
    local at
    at=$(control_centre "编辑截图" "$1") || e2e_fail "no control of the editor showing $1: $at"
    xdotool mousemove $at click 1
}
# canvas_drag X1 Y1 X2 Y2: a drag on the editor's canvas, in canvas pixels.
canvas_drag() {
    xdotool mousemove $((canvas[0] + $1)) $((canvas[1] + $2)) mousedown 1
    xdotool mousemove $((canvas[0] + ($1 + $3) / 2)) $((canvas[1] + ($2 + $4) / 2))
    xdotool mousemove $((canvas[0] + $3)) $((canvas[1] + $4))
    xdotool mouseup 1
}
canvas_shows_known() {
    import -window root "$E2E_DIR/editor.png" &&
        convert "$E2E_DIR/editor.png" -crop "240x160+${canvas[0]}+${canvas[1]}" +repage "$E2E_DIR/canvas.png" &&
        [ "$(compare -metric AE "$E2E_DIR/canvas.png" "$E2E_DIR/known.png" null: 2>&1)" = 0 ]
}
canvas_pixel_is() {
    import -window root "$E2E_DIR/editor.png" &&
        [ "$(pixel_at "$E2E_DIR/editor.png" $((canvas[0] + $1)) $((canvas[1] + $2)))" = "$3" ]
}
# colour_count PICTURE WxH+X+Y COLOUR: how many pixels of that part have the colour.
colour_count() {
    convert "$1" -crop "$2" +repage -fill white +opaque "$3" -fill black -opaque "$3" -negate \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}
editors_closed() { [ "$(grep -c '^[0-9]* destroy_window 0x52010274$' "$VORN_TRACE" 2>/dev/null)" -ge "$1" ]; }

# stored_setting KEY: the value under 编辑截图 in 设置.ini, read as GBK.
stored_setting() {
    iconv -f GBK -t UTF-8 "$TOOL_APP/设置.ini" 2>/dev/null | tr -d '\r' |
        awk -v key="$1" -F= '/^\[/{in_edit = ($0 == "[编辑截图]")} in_edit && $1 == key {print substr($0, length(key) + 2)}'
}
stored_setting_is_not() { local v; v=$(stored_setting "$1") && [ -n "$v" ] && [ "$v" != "$2" ]; }

# expect_known_part SHOT WxH+X+Y: SHOT is exactly that part of the known picture.
expect_known_part() {
    convert "$E2E_DIR/known.png" -crop "$2" +repage "$E2E_DIR/part.png"
    e2e_expect_eq "$(identify -format '%wx%h' "$1")" "${2%%+*}" "region shot size"
    e2e_expect_eq "$(compare -metric AE "$1" "$E2E_DIR/part.png" null: 2>&1)" 0 \
        "pixels of the region shot that differ from the screen"
}

# shot N: a full-screen capture, the Nth; its picture (from the clipboard,
# which holds what the picture box shows) as $E2E_DIR/shotN.png.
shot() {
    capture "$1"
    read_clipboard "$E2E_DIR/shot$1.png"
}

traced() { grep -c -- "$1" "$VORN_TRACE" 2>/dev/null; }
traced_reach() { [ "$(traced "$1")" -ge "$2" ]; }

# save_dialog_answers N KEYS...: waits for the Nth save dialog, then types
# into it (a name and Return, or Escape) and waits for it to go.
save_dialog_answers() {
    local n=$1
    shift
    e2e_poll 20 "save dialog $n" traced_reach ' file dialog 0x52010001/0x1601002a type 1' "$n"
    e2e_poll 20 "the save dialog on screen" xdotool search --onlyvisible --name '^另存为$'
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^另存为$' | head -n1)" 2>/dev/null
    "$@"
    e2e_poll 20 "the save dialog closed" dialog_gone
}
dialog_gone() { ! xdotool search --onlyvisible --name '^另存为$' >/dev/null 2>&1; }
type_name() { xdotool type --delay 30 "$1" && xdotool key Return; }

# expect_saved FILE SHOT [RMSE]: FILE is a JPEG of quality 70 of SHOT's size
# that matches it within JPEG error (thin saturated lines, as annotations
# are, lose more to the halved colour resolution than a photo of the screen).
expect_saved() {
    e2e_expect_eq "$(identify -format '%m %wx%h %Q' "$1" 2>&1)" "JPEG $(identify -format '%wx%h' "$2") 70" \
        "format, size and quality of $1"
    local error
    error=$(compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\([0-9.e-]*\)).*/\1/p')
    awk -v e="$error" -v most="${3:-0.03}" 'BEGIN { exit !(e != "" && e < most) }' ||
        e2e_fail "$1 differs from the shot by RMSE $error"
}

# The enlarged view has no caption: it is the tool's shown window whose
# text is empty. Its rectangle as GetWindowRect gives it (the X window's
# geometry too, as Wine draws no frame around it): "WxH+X+Y".
view_geometry() {
    wine "$E2E_HELPERS/winquery.exe" list 2>/dev/null | tr -d '\r' |
        awk '/^class=VornWindow text= visible=1 / { for (i = 1; i <= NF; ++i) if ($i ~ /^rect=/) {
                 split(substr($i, 6), r, ","); print r[3] "x" r[4] "+" r[1] "+" r[2]; found = 1; exit } }
             END { exit !found }'
}
view_shown() { view_geometry >/dev/null; }
view_gone() { ! view_geometry >/dev/null; }
# geometry_is WxH+X+Y: the view has that rectangle, as Windows reports it
# and as X shows it (xdotool getwindowgeometry of its X window).
geometry_is() { [ "$(view_geometry)" = "$1" ] && x_window_at "$1"; }
x_window_at() {
    local id
    for id in $(xdotool search --onlyvisible --name '^$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
        [ "${WIDTH}x${HEIGHT}+${X}+${Y}" = "$1" ] && return 0
    done
    return 1
}
# view_click DX DY: clicks at that point of the view's client area.
view_click() {
    local at
    at=$(view_geometry) || e2e_fail "no enlarged view to click"
    local x=${at#*+} y
    y=${x#*+}
    x=${x%%+*}
    xdotool mousemove $((x + $1)) $((y + $2)) click 1
}

# The picture box's centre, on the screen.
picture_box_centre() {
    wine "$E2E_HELPERS/winquery.exe" tree "$caption" 5000 2>>"$E2E_DIR/wine.log" | tr -d '\r' |
        awk '/^window /{ for (i = 1; i <= NF; ++i) if ($i ~ /^client=/) { split(substr($i, 8), c, ",") } }
             /class=VornPictureBox/{ for (i = 1; i <= NF; ++i) if ($i ~ /^rect=/) { split(substr($i, 6), r, ",") } }
             END { print c[1] + r[1] + int(r[3] / 2), c[2] + r[2] + int(r[4] / 2) }'
}

# box_text: the text of the message box beside the main window (it has no
# title of its own, so it carries the tool's caption).
box_text() {
    e2e_probe_msgbox "$caption"
    sed -n 's/^text=//p' <<<"$E2E_BOX"
}
dismiss_box() {
    local main
    main=$(tool_window_id)
    e2e_poll 10 "the message box closed" dismiss_box_beside "$main"
}

# ---- The settings window ----

# checks: the three check states, top to bottom, as "1 0 1".
checks() {
    wine "$E2E_HELPERS/winquery.exe" tree "选项设置" 10000 2>>"$E2E_DIR/wine.log" | tr -d '\r' |
        awk '/class=VornCheckBox/{ y = ""; c = "";
                 for (i = 1; i <= NF; ++i) { if ($i ~ /^rect=/) { split(substr($i, 6), r, ","); y = r[2] }
                                             if ($i ~ /^checked=/) c = substr($i, 9) }
                 print y, c }' | sort -n | awk '{ printf "%s%s", sep, $2; sep = " " } END { print "" }'
}
open_settings() {
    tool_click "设置"
    e2e_poll 20 "the settings window" xdotool search --onlyvisible --name '^选项设置$'
}
close_settings() {
    local at
    at=$(wine "$E2E_HELPERS/winprobe.exe" where "选项设置" "关闭" 2>/dev/null | tr -d '\r')
    xdotool mousemove $at click 1
    e2e_poll 10 "the settings window closed" settings_gone
}
settings_gone() { ! xdotool search --onlyvisible --name '^选项设置$' >/dev/null 2>&1; }
click_option() {
    local at
    at=$(wine "$E2E_HELPERS/winprobe.exe" where "选项设置" "$1" 2>/dev/null | tr -d '\r')
    [ -n "$at" ] || e2e_fail "no option '$1'"
    xdotool mousemove $at click 1
}
# stored LINE: 设置.ini holds that line (read as GBK).
stored() { iconv -f GBK -t UTF-8 "$TOOL_APP/设置.ini" 2>/dev/null | tr -d '\r' | grep -qxF "$1"; }

# ---- Whole cycles, as the long runs repeat them ----

# known_region N: the Nth capture sound, from a region drag over the whole
# known picture: the shot is the known picture itself.
known_region() {
    region "$1" "${known_at[0]}" "${known_at[1]}" $((known_at[0] + 240)) $((known_at[1] + 160))
}

editor_text_boxes() {
    wine "$E2E_HELPERS/winquery.exe" tree "编辑截图" 5000 2>/dev/null | tr -d '\r' |
        grep -c 'class=VornEditBox .* visible=1'
}
editor_text_boxes_reach() { [ "$(editor_text_boxes)" -ge "$1" ]; }

# editor_open: opens the editor on a shot of the known picture and sets
# `canvas` to its canvas's place on the screen.
editor_open() {
    click_button "编辑"
    e2e_poll 30 "the editor" editor_shown
    e2e_poll 20 "the editor's tools" wine "$E2E_HELPERS/winprobe.exe" where "编辑截图" "□"
    read -r client_x client_y <<<"$(tool_client "编辑截图")"
    [ -n "$client_y" ] || e2e_fail "the editor's client area was not found"
    # A 240 x 160 shot: the frame at 9, 44 is 550 wide, the canvas centred in it.
    canvas=($((client_x + 9 + 155)) $((client_y + 44 + 4)))
}

# editor_annotate TEXT: a rectangle, an arrow and TEXT stamped with Enter,
# in the colours 设置.ini holds for each tool.
editor_annotate() {
    editor_click "□"
    canvas_drag 20 20 100 80
    editor_click "→"
    canvas_drag 130 100 220 100
    editor_click "字"
    local boxes
    boxes=$(editor_text_boxes)
    xdotool mousemove $((canvas[0] + 20)) $((canvas[1] + 110)) click 1
    e2e_poll 10 "the text box at the press" editor_text_boxes_reach $((boxes + 1))
    xdotool type "$1"
    xdotool key Return
}

# editor_finish N: the finishing button; waits for the Nth editor to close
# and the main window to come back.
editor_finish() {
    xdotool mousemove $((client_x + 544)) $((client_y + 21)) click 1
    e2e_poll 20 "editor $1 closed" editors_closed "$1"
    e2e_poll 10 "the main window shown after editor $1" tool_window_id
}

# view_cycle N: zoom opens the enlarged view, its close button closes it;
# waits for the Nth modal loop of the view to end.
view_cycle() {
    tool_click "放大"
    e2e_poll 20 "enlarged view $1" view_shown
    local at
    at=$(view_geometry) || e2e_fail "no enlarged view"
    view_click $((${at%%x*} - 32 + 15)) 12
    e2e_poll 10 "enlarged view $1 closed" view_gone
    e2e_poll 10 "enlarged view $1's modal loop ended" traced_reach 'modal loop window 0x52010124 ends' "$1"
}

# resources: what the tool's process holds, "gdi=N user=N handles=N private_kib=N".
resources() {
    wine "$E2E_HELPERS/winquery.exe" resources "$TOOL_CAPTION" 2>>"$E2E_DIR/wine.log" | tr -d '\r'
}
