#!/usr/bin/env bash
# The Win32 desktop under Wine: windows, controls, events, dialogs and system
# services of the real runtime, driven from outside with xdotool and read
# back with winquery.exe, winprobe.exe, screenshots and the test program's
# events.log. The vornshot_* scenarios run the product itself and are
# skipped (exit 77) while its executable does not carry the program yet.
#   desktop.sh SCENARIO WINDOWS_BIN_DIR [ARTEFACTS_DIR]
set -uo pipefail
scenario=${1:?scenario}
bin=${2:?windows bin directory}
artefacts=${VORN_E2E_ARTEFACTS:-${3:-$bin/../../e2e-artefacts}}
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/printer.sh"
E2E_HELPERS="$bin/e2e"
readonly kSkip=77
mkdir -p "$artefacts"

# ---- The scene ----

# Screenshots, the runtime's trace and the program's events of a run stay
# beside the build, whatever the outcome.
keep_artefacts() {
    [ -n "${E2E_DIR:-}" ] || return 0
    [ -f "$E2E_DIR/trace.log" ] && cp "$E2E_DIR/trace.log" "$artefacts/desktop.$scenario.trace.log"
    [ -n "${events:-}" ] && [ -f "$events" ] && cp "$events" "$artefacts/desktop.$scenario.events.log"
    return 0
}

start_scene() {
    e2e_start "desktop-$scenario"
    trap 'keep_artefacts; e2e_cleanup' EXIT
    app="$E2E_C/vorn/app"
    mkdir -p "$app"
    cp "$bin/krnln.fnr" "$app/"
    export VORN_TRACE="$E2E_DIR/trace.log"
}

# run_check PROGRAM LINE FAILURE: runs a check program of the helpers, keeps
# what it prints with the artefacts, and fails with FAILURE unless it exits
# with 0 and printed LINE.
run_check() {
    local out="$artefacts/desktop.$scenario.txt" status
    start_scene
    wine "$E2E_HELPERS/$1.exe" >"$E2E_DIR/$1.txt" 2>>"$E2E_DIR/wine.log"
    status=$?
    tr -d '\r' <"$E2E_DIR/$1.txt" >"$out"
    [ "$status" -eq 0 ] && grep -qx "$2" "$out" || e2e_fail "$3 (exit $status): $(cat "$out")"
}

# query TITLE: the window tree as winquery prints it.
query() {
    wine "$E2E_HELPERS/winquery.exe" tree "$1" 10000 2>>"$E2E_DIR/wine.log" | tr -d '\r'
}

# find_client TITLE: sets cx, cy to the window's client origin on the screen.
find_client() {
    local line
    line=$(query "$1" | head -n1)
    read -r cx cy <<<"$(sed -n 's/.* client=\([-0-9]*\),\([-0-9]*\),.*/\1 \2/p' <<<"$line")"
    [ -n "$cx" ] || e2e_fail "no client area for '$1': $line"
}

# click X Y [BUTTON]: in the client pixels of the window last found.
click() {
    xdotool mousemove $((cx + $1)) $((cy + $2)) click "${3:-1}"
    sleep 0.3
}

shot() {
    import -window root "$artefacts/desktop.$scenario.$1.png" || e2e_fail "screenshot $1"
    last_shot="$artefacts/desktop.$scenario.$1.png"
}

# pixel X Y: the colour (RRGGBB) at client X, Y of the window last found, in the last shot.
pixel() {
    convert "$last_shot" -format "%[hex:p{$((cx + $1)),$((cy + $2))}]" info: | cut -c1-6
}

# red_near X Y: some pure red within two pixels of client X, Y in the last shot.
red_near() {
    convert "$last_shot" -crop "5x5+$((cx + $1 - 2))+$((cy + $2 - 2))" -format %c histogram:info: | grep -qi 'FF0000'
}

expect_pixel() {
    local got
    got=$(pixel "$1" "$2")
    [ "$got" = "$3" ] || e2e_fail "$4: pixel at $1,$2 is $got, expected $3 (see $last_shot)"
}

# ---- The test program ----

start_testprog() {
    cp "$E2E_HELPERS/testprog.exe" "$app/"
    events="$app/events.log"
    e2e_launch "$app" testprog.exe
    e2e_poll 30 "the test program's window" xdotool search --name '^测试程序V1$'
    expect_event "timer"
    find_client "测试程序V1"
}

has_event() { grep -qxF -- "$1" "$events" 2>/dev/null; }
count_events() { grep -cxF -- "$1" "$events" 2>/dev/null; }
# has_events COUNT LINE
has_events() { [ "$(count_events "$2")" -eq "$1" ]; }
top_level_windows() { wine "$E2E_HELPERS/winquery.exe" list 2>>"$E2E_DIR/wine.log" | tr -d '\r'; }
has_top_level() { top_level_windows | grep -q -- "$1"; }

expect_event() {
    e2e_poll "${2:-10}" "event '$1'" has_event "$1"
}

expect_no_event() {
    sleep "${2:-0.5}"
    has_event "$1" && e2e_fail "unexpected event '$1'"
    return 0
}

# line_number LINE: where LINE first is in the events.
line_number() { grep -nxF -- "$1" "$events" | head -n1 | cut -d: -f1; }

expect_order() {
    local first second
    first=$(line_number "$1")
    second=$(line_number "$2")
    [ -n "$first" ] && [ -n "$second" ] && [ "$first" -lt "$second" ] ||
        e2e_fail "expected '$1' before '$2' in: $(cat "$events")"
}

# ---- The product ----

# Sets vornshot to the product's executable, or skips the scenario while the
# executable does not export the program's dispatcher yet.
find_vornshot() {
    vornshot=$bin/VornShot.exe
    [ -f "$vornshot" ] || vornshot=$bin/../app/VornShot.exe
    if [ ! -f "$vornshot" ] || ! grep -q VornDispatch "$vornshot"; then
        echo "SKIP: VornShot.exe does not carry the program yet"
        exit $kSkip
    fi
}

start_vornshot() {
    find_vornshot
    start_scene
    cp "$vornshot" "$app/VornShot.exe"
    e2e_launch "$app" VornShot.exe
    e2e_poll 30 "the main window" xdotool search --name '^Vorn截图工具V6.0$'
    sleep 1
    find_client "Vorn截图工具V6.0"
}

case $scenario in
main_window)
    # The window and every control as the definitions place them, in stored
    # order from the top of the Z order, hidden ones hidden (the font
    # picker's drop-down box takes the height Windows gives it); what
    # start-up asked of the system came back sane.
    start_scene
    start_testprog
    tree=$(query "测试程序V1")
    echo "$tree" >"$artefacts/desktop.$scenario.tree.txt"
    e2e_expect_line "$(head -n1 <<<"$tree")" \
        "window class=VornWindow text=测试程序V1 visible=1 enabled=1 rect=50,50,420,330 client=$cx,$cy,414,305 topmost=0"
    expected="  class=VornPictureButton text=复制 visible=1 enabled=1 rect=8,8,40,48
  class=VornPictureButton text=放大 visible=1 enabled=1 rect=54,8,40,48
  class=VornPictureButton text=关于 visible=1 enabled=1 rect=100,8,40,48
  class=VornPictureButton text=对话框 visible=1 enabled=1 rect=146,8,40,48
  class=VornPushButton text=截图 visible=1 enabled=1 rect=200,16,80,24
  class=VornCheckBox text=选项 visible=1 enabled=1 rect=290,16,100,24 checked=0
  class=VornEditBox text= visible=1 enabled=1 rect=8,64,100,24
  class=VornLabel text=标签文字 visible=1 enabled=1 rect=120,64,150,24
  class=VornPictureBox text= visible=1 enabled=1 rect=8,96,250,160
  class=VornCanvas text= visible=1 enabled=1 rect=270,96,130,120
    class=VornTransparentLabel text=透明 visible=1 enabled=1 rect=4,4,60,16
  class=VornShapeBox text= visible=1 enabled=1 rect=270,222,130,30
    class=VornLabel text=内部 visible=1 enabled=1 rect=5,5,100,20
  class=VornPushButton text=保存 visible=1 enabled=1 rect=8,262,80,24
  class=VornPushButton text=隐藏 visible=0 enabled=1 rect=100,262,80,24
  class=VornColourPicker text= visible=1 enabled=1 rect=190,262,24,24
  class=VornFontPicker text= visible=1 enabled=1 rect=222,262,120,22
  class=VornLabel text= visible=1 enabled=1 rect=-27,-1,500,400"
    [ "$(tail -n +2 <<<"$tree")" = "$expected" ] || e2e_fail "controls differ: $tree"
    # The X window is the outer rectangle.
    eval "$(xdotool search --name '^测试程序V1$' getwindowgeometry --shell | grep -E '^(WIDTH|HEIGHT)=')"
    e2e_expect_eq "${WIDTH}x${HEIGHT}" "420x330" "X window size"
    e2e_expect_line "$(cat "$events")" "processes $(grep -m1 '^processes' "$events" | cut -d' ' -f2) matches 1"
    e2e_expect_line "$(cat "$events")" \
        'created C:\vorn\app testprog.exe screen 1280x1024 shortcut 1 C:\users\'"$(id -un)"'\Desktop\'
    desktop_folder="$E2E_C/users/$(id -un)/Desktop"
    [ -f "$desktop_folder/测试程序.lnk" ] || e2e_fail "no shortcut in $desktop_folder"
    shot window
    expect_pixel 200 66 E0E0E0 "label back colour"
    expect_pixel 300 300 FFFFFF "white label under the controls"
    red_near 281 150 || e2e_fail "no rectangle on the canvas (see $last_shot)"
    expect_pixel 365 243 FFFF00 "label inside the shape box"
    expect_pixel 270 240 008000 "shape box outline"
    expect_pixel 10 10 FFFFFF "picture button face"
    ;;
controls)
    start_scene
    start_testprog
    click 28 32
    expect_event "clicked 按钮_复制"
    click 74 32
    expect_event "clicked 按钮_放大"
    e2e_expect_line "$(query "测试程序V1" | head -n1)" \
        "window class=VornWindow text=测试程序V1 visible=1 enabled=1 rect=50,50,420,330 client=$cx,$cy,414,305 topmost=1"
    click 74 32
    e2e_poll 10 "the window to stay on top no more" bash -c "wine '$E2E_HELPERS/winquery.exe' tree 测试程序V1 1000 2>/dev/null | head -n1 | grep -q topmost=0"
    # Whole numbers only: the letter never reaches the model.
    click 20 76
    xdotool type --delay 50 "1a2"
    expect_event "text 12"
    has_event "text 1a" && e2e_fail "a letter went into a whole-number edit box"
    # Keys reach the program with their virtual key code and modifiers.
    xdotool key Return
    expect_event "key 13 0"
    click 300 28
    expect_event "checked 1"
    click 300 28
    expect_event "checked 0"
    # Mouse events carry client pixels and the modifier keys (shift 1, control 2).
    click 140 76
    expect_event "label pressed 20 12 0"
    xdotool mousemove $((cx + 150)) $((cy + 80)) keydown shift click 1 keyup shift
    expect_event "label pressed 30 16 1"
    xdotool mousemove $((cx + 150)) $((cy + 80)) keydown ctrl click 1 keyup ctrl
    expect_event "label pressed 30 16 2"
    # A drag on the canvas: press, moves while held, release, all in canvas
    # pixels, also outside it (the canvas holds the mouse).
    xdotool mousemove $((cx + 290)) $((cy + 120)) mousedown 1 sleep 0.2 mousemove $((cx + 330)) $((cy + 170)) \
        sleep 0.2 mousemove $((cx + 400)) $((cy + 250)) sleep 0.2 mouseup 1
    expect_event "canvas pressed 20 24 0"
    expect_event "canvas dragged 60 74 0"
    expect_event "canvas released 130 154 0"
    grep -q '^canvas picture 130x120 text width [1-9][0-9]*$' "$events" || e2e_fail "canvas picture: $(cat "$events")"
    sleep 0.3
    shot after-drag
    # The program draws a line from the press to the release.
    red_near 312 147 || e2e_fail "no line on the canvas (see $last_shot)"
    # Hidden controls take no clicks: the click lands on the label under it.
    click 140 274
    expect_no_event "clicked 按钮2"
    ;;
popup_menu)
    start_scene
    start_testprog
    click 100 150 3
    expect_event "picture right-pressed 92 54 0"
    e2e_poll 10 "the popup menu" has_top_level 'class=#32768 .*visible=1'
    shot menu
    has_event "popup returned" && e2e_fail "the popup menu returned before it closed"
    xdotool key Down Down Return
    expect_event "menu 复制图片"
    # The chosen item arrives once the event that opened the menu is over.
    expect_order "popup returned" "menu 复制图片"
    xdotool mousemove $((cx + 60)) $((cy + 120)) click --repeat 2 --delay 80 1
    expect_event "picture double-clicked 52 24 0"
    ;;
message_box)
    start_scene
    start_testprog
    click 120 32
    e2e_probe_msgbox "关于本软件"
    e2e_expect_line "$E2E_BOX" "icon=none"
    e2e_expect_line "$E2E_BOX" "button=1"
    grep -q "^text=测试程序" <<<"$E2E_BOX" || e2e_fail "box: $E2E_BOX"
    shot box
    e2e_dismiss "关于本软件"
    expect_event "about answered 1"
    ;;
modal_dialog)
    # A modal window disables the program's other windows until it closes,
    # by its own button or by its close box.
    start_scene
    start_testprog
    click 166 32
    expect_event "dialog created"
    e2e_expect_line "$(query "测试程序V1" | head -n1)" \
        "window class=VornWindow text=测试程序V1 visible=1 enabled=0 rect=50,50,420,330 client=$cx,$cy,414,305 topmost=0"
    shot dialog
    click 28 32
    expect_no_event "clicked 按钮_复制"
    # Without a border the window is all client area.
    dialog=$(query "对话框" | head -n1)
    grep -q ' rect=120,120,240,140 client=120,120,240,140 ' <<<"$dialog" || e2e_fail "borderless dialog: $dialog"
    find_client "对话框"
    # The enlarged view's kinds of control: a graphic button, and a
    # transparent label whose colour follows the pointer.
    click 108 22
    expect_event "clicked 图形按钮1"
    xdotool mousemove $((cx + 160)) $((cy + 23))
    expect_event "hover green"
    sleep 0.3
    shot hover
    xdotool mousemove $((cx + 132)) $((cy + 23))
    expect_event "hover red"
    click 50 22
    expect_event "dialog destroyed"
    expect_event "dialog returned"
    expect_order "dialog destroyed" "dialog returned"
    find_client "测试程序V1"
    e2e_expect_line "$(query "测试程序V1" | head -n1)" \
        "window class=VornWindow text=测试程序V1 visible=1 enabled=1 rect=50,50,420,330 client=$cx,$cy,414,305 topmost=0"
    click 28 32
    expect_event "clicked 按钮_复制"
    click 166 32
    e2e_poll 10 "the dialog again" xdotool search --name '^对话框$'
    wine "$E2E_HELPERS/winquery.exe" close "对话框" 2>>"$E2E_DIR/wine.log"
    e2e_poll 10 "the dialog to close" has_events 2 "dialog destroyed"
    ;;
runtime_error)
    # A program that breaks the contract gets the runtime's error box, and
    # the process ends with the error's code.
    start_scene
    start_testprog
    click 166 32
    expect_event "dialog created"
    find_client "对话框"
    click 50 62
    expect_event "breaking the contract"
    e2e_probe_msgbox "运行时错误"
    e2e_expect_line "$E2E_BOX" "icon=stop"
    grep -q "^text=运行时错误 100：" <<<"$E2E_BOX" || e2e_fail "error box: $E2E_BOX"
    shot box
    e2e_dismiss "运行时错误"
    e2e_wait_exit 30
    e2e_expect_eq "$E2E_EXIT" 100 "exit code"
    has_event "still running" && e2e_fail "the program went on after the error"
    ;;
printing)
    start_scene
    printer_start
    start_testprog
    click 166 32
    expect_event "dialog created"
    find_client "对话框"
    click 140 62
    expect_event "printed" 30
    printer_wait_pdf 90
    pdftoppm -r 30 -png -singlefile "$PRINTER_PDF" "$artefacts/desktop.$scenario.page" ||
        e2e_fail "unreadable PDF $PRINTER_PDF"
    page="$artefacts/desktop.$scenario.page.png"
    # The screen, black around the program's windows, fills the page's width
    # from its top-left corner: the page's upper part is mostly dark.
    mean=$(convert "$page" -crop 60%x30%+0+0 -colorspace Gray -format '%[fx:int(100*mean)]' info:)
    [ "$mean" -lt 50 ] || e2e_fail "the printed page does not show the screen (brightness $mean%, see $page)"
    ;;
close_ends_program)
    start_scene
    start_testprog
    wine "$E2E_HELPERS/winquery.exe" close "测试程序V1" 2>>"$E2E_DIR/wine.log"
    e2e_wait_exit 30
    e2e_expect_eq "$E2E_EXIT" 0 "exit code"
    expect_order "main destroyed" "cleanup"
    ;;
second_instance)
    start_scene
    start_testprog
    first=$E2E_PID
    e2e_launch "$app" testprog.exe
    e2e_wait_exit 30
    e2e_expect_eq "$E2E_EXIT" 0 "second copy's exit code"
    expect_event "second copy ends"
    e2e_alive "$first" || e2e_fail "the first copy ended too"
    [ "$(xdotool search --name '^测试程序V1$' | wc -l)" -eq 1 ] || e2e_fail "two main windows"
    ;;
snapshot_clipboard)
    start_scene
    start_testprog
    click 240 28
    expect_event "snapshot 3932214 bytes"
    shot picture
    timeout 10 xclip -selection clipboard -t TARGETS -o | grep -qx "image/bmp" || e2e_fail "no bitmap on the clipboard"
    timeout 20 xclip -selection clipboard -t image/bmp -o >"$E2E_DIR/clip.bmp"
    e2e_expect_eq "$(identify -format '%wx%h' "$E2E_DIR/clip.bmp")" "1280x1024" "clipboard picture size"
    # The box shows the screen shrunk to fit: black in its middle, as the
    # test display is; the clipboard holds the screen itself.
    expect_pixel 133 176 000000 "picture box showing the shot"
    convert "$E2E_DIR/clip.bmp" -format "%[hex:p{$((cx + 200)),$((cy + 66))}]" info: | grep -q '^E0E0E0' ||
        e2e_fail "the clipboard picture is not the screen"
    ;;
input_device)
    # The device reports the pointer and both buttons anywhere on the screen.
    start_scene
    start_testprog
    : >"$events"
    xdotool mousemove 700 600
    expect_event "device moved 700 600"
    # Presses over the bare X root are Wine's to miss: press over a window.
    xdotool mousemove $((cx + 380)) $((cy + 280))
    expect_event "device moved $((cx + 380)) $((cy + 280))"
    xdotool click 1
    e2e_poll 10 "two left-button reports" has_events 2 "device button 256"
    xdotool click 3
    e2e_poll 10 "two right-button reports" has_events 2 "device button 257"
    ;;
save_dialog)
    saved_as_shot() { grep -q '^save C:.*\\shot$' "$events"; }
    start_scene
    start_testprog
    click 40 274
    e2e_poll 20 "the save dialog" xdotool search --name '^另存为$'
    sleep 0.5
    shot dialog
    xdotool type --delay 50 "shot"
    xdotool key Return
    e2e_poll 10 "the save" saved_as_shot
    click 40 274
    e2e_poll 20 "the save dialog" xdotool search --name '^另存为$'
    sleep 0.5
    xdotool key Escape
    expect_event "save cancelled"
    ;;
pickers)
    has_font_event() { grep -q '^font .' "$events"; }
    start_scene
    start_testprog
    # The font picker lists the installed faces with the program's face chosen.
    click 280 274
    sleep 0.5
    shot fonts
    xdotool key Up Return
    e2e_poll 10 "a font chosen" has_font_event
    has_event "font 宋体" && e2e_fail "the chosen face did not change"
    # The colour picker opens the colour dialog on its colour.
    click 202 274
    e2e_poll 20 "the colour dialog" xdotool search --name '^颜色$'
    shot colours
    xdotool key Return
    expect_event "colour 0"
    ;;
tooltip)
    start_scene
    start_testprog
    xdotool mousemove $((cx + 28)) $((cy + 32))
    e2e_poll 10 "the balloon tip" has_top_level 'class=tooltips_class32 .*visible=1'
    shot tip
    ;;
canvas_surfaces)
    # No window needed: the check draws on memory surfaces only.
    run_check canvas_check '0 differences' "the GDI and simulated canvases differ"
    ;;
block_lending)
    # No window needed: the check lends and writes memory only.
    run_check lending_check '0 failures' "lent blocks under the fault handler"
    ;;
vornshot_main)
    start_vornshot
    shot main
    eval "$(xdotool search --name '^Vorn截图工具V6.0$' getwindowgeometry --shell | grep -E '^(WIDTH|HEIGHT)=')"
    e2e_expect_eq "${WIDTH}x${HEIGHT}" "678x514" "main window size"
    query "Vorn截图工具V6.0" >"$artefacts/desktop.$scenario.tree.txt"
    ;;
vornshot_about)
    start_vornshot
    click 644 32
    e2e_probe_msgbox "关于本软件"
    grep -q "^text=                    Vorn截图工具V6.0" <<<"$E2E_BOX" || e2e_fail "About box: $E2E_BOX"
    shot about
    e2e_dismiss "关于本软件"
    ;;
*)
    e2e_fail "unknown scenario $scenario"
    ;;
esac
e2e_log "scenario $scenario passed"
