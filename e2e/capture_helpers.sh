# The capture scenarios' shared steps: a known picture or another program's
# window on the screen, the tool's captures driven as a user would, and the
# clipboard read back. Sourced after lib.sh and tool.sh, once e2e_start has
# run; the sourcing script sets E2E_HELPERS, caption and known_at.

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

sounds_played() { grep -c '^[0-9]* sound ' "$VORN_TRACE" 2>/dev/null || true; }
sounds_reach() { [ "$(sounds_played)" -ge "$1" ]; }

# capture N: clicks 全屏 and waits for the Nth capture sound, the flow's last
# step before the window is shown again.
capture() {
    tool_click "全屏"
    e2e_poll 30 "capture $1" sounds_reach "$1"
}

clipboard_has_bitmap() { timeout 10 xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -qx 'image/bmp'; }

# read_clipboard FILE: the clipboard's bitmap as a PNG.
read_clipboard() {
    e2e_poll 10 "a bitmap on the clipboard" clipboard_has_bitmap
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

# click_button TEXT: how the steps below click the main window's buttons;
# a scenario may click them its own way.
click_button() { tool_click "$1"; }

# region N X1 Y1 X2 Y2: clicks 区域, drags from one screen point to the other
# over the frozen picture and waits for the Nth capture sound.
region() {
    click_button "区域"
    e2e_poll 30 "overlay $1" overlays_shown "$1"
    e2e_poll 10 "overlay $1 on screen" overlay_shown
    xdotool mousemove "$2" "$3" mousedown 1
    xdotool mousemove $((($2 + $4) / 2)) $((($3 + $5) / 2))
    xdotool mousemove "$4" "$5"
    xdotool mouseup 1
    e2e_poll 30 "region capture $1" sounds_reach "$1"
    e2e_poll 10 "the overlay closed" overlay_gone
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
    at=$(wine "$E2E_HELPERS/winprobe.exe" where "编辑截图" "$1" 2>/dev/null | tr -d '\r') ||
        e2e_fail "no control of the editor showing $1: $at"
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

