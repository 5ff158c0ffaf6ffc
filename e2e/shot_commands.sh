#!/usr/bin/env bash
# What a user does with a shot under Wine, observed from outside: saving it
# through the real save dialog, the enlarged view, the picture box's context
# menu, the settings window and printing to a PDF printer.
#   shot_commands.sh SCENARIO WINDOWS_BIN_DIR ARTEFACT_DIR
set -uo pipefail
scenario=${1:?scenario}
bin=${2:?windows bin directory}
artefacts=${3:?artefact directory}
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tool.sh"
source "$(dirname "$0")/printer.sh"
E2E_HELPERS="$bin/e2e"

e2e_start "shot_commands.$scenario"
mkdir -p "$artefacts"
export VORN_TRACE="$E2E_DIR/trace.log"
source "$(dirname "$0")/flows.sh"

case $scenario in
save)
    show_known_picture
    tool_install "$bin"
    mkdir -p "$E2E_C/out"
    tool_start
    shot 1
    # The name rules: completed with ".jpg" unless it ends in exactly that.
    n=0
    for name in shot shot.JPG shot.bmp done.jpg; do
        n=$((n + 1))
        tool_click "保存"
        save_dialog_answers $n type_name "C:\\out\\$name"
        case $name in *.jpg) saved=$name ;; *) saved=$name.jpg ;; esac
        e2e_poll 30 "$saved written" identify "$E2E_C/out/$saved"
        expect_saved "$E2E_C/out/$saved" "$E2E_DIR/shot1.png"
    done
    e2e_expect_eq "$(cd "$E2E_C/out" && ls | LC_ALL=C sort | tr '\n' ' ')" "done.jpg shot.JPG.jpg shot.bmp.jpg shot.jpg " \
        "the files saved, and nothing else"
    # Saving again overwrites without asking; a cancel writes nothing.
    convert -size 200x150 xc:'#00ff00' "$E2E_DIR/green.png"
    display -borderwidth 0 -geometry +1000+600 "$E2E_DIR/green.png" &
    E2E_PIDS+=($!)
    e2e_poll 20 "the green picture" xdotool search --onlyvisible --name 'ImageMagick.*green'
    shot 2
    before=$(md5sum <"$E2E_C/out/shot.jpg")
    tool_click "保存"
    save_dialog_answers 5 type_name "C:\\out\\shot"
    changed() { [ "$(md5sum <"$E2E_C/out/shot.jpg")" != "$before" ] && identify "$E2E_C/out/shot.jpg"; }
    e2e_poll 30 "shot.jpg overwritten" changed
    expect_saved "$E2E_C/out/shot.jpg" "$E2E_DIR/shot2.png"
    listing=$(ls -l --full-time "$E2E_C/out")
    tool_click "保存"
    save_dialog_answers 6 xdotool key Escape
    e2e_poll 10 "the cancel traced" traced_reach 'file dialog cancelled' 1
    e2e_expect_eq "$(ls -l --full-time "$E2E_C/out")" "$listing" "the folder after a cancel"
    ;;
save_read_only)
    tool_install "$bin"
    mkdir -p "$E2E_DIR/ro"
    convert -size 64x48 xc:red "$E2E_DIR/ro/shot.jpg"
    cp "$E2E_DIR/ro/shot.jpg" "$E2E_DIR/earlier.jpg"
    e2e_read_only_copy "$E2E_DIR/ro"
    ln -s "$E2E_DIR/ro" "$WINEPREFIX/dosdevices/r:"
    tool_start
    shot 1
    tool_click "保存"
    save_dialog_answers 1 type_name 'R:\shot'
    e2e_probe_msgbox "$caption"
    grep -qF 'R:\shot.jpg' <<<"$E2E_BOX" || e2e_fail "the message does not name the file: $E2E_BOX"
    grep -qF '只读' <<<"$E2E_BOX" || e2e_fail "the message does not give the reason: $E2E_BOX"
    dismiss_box
    cmp -s "$E2E_DIR/ro/shot.jpg" "$E2E_DIR/earlier.jpg" || e2e_fail "the earlier file was changed"
    e2e_expect_eq "$(ls -A "$E2E_DIR/ro")" "shot.jpg" "the read-only folder's files"
    ;;
zoom)
    show_known_picture
    tool_install "$bin"
    mkdir -p "$E2E_C/out"
    tool_start
    # An empty box: the zoom button says so, a double-click does nothing.
    tool_click "放大"
    e2e_expect_eq "$(box_text)" "没有截图!" "the zoom message for an empty box"
    dismiss_box
    read -r bx by <<<"$(picture_box_centre)"
    xdotool mousemove "$bx" "$by" click --repeat 2 --delay 80 1
    shot 1
    view_gone || e2e_fail "a double-click on the empty box opened the view"
    # Zoom opens the view at its stored place and size; each step re-centres it.
    tool_click "放大"
    e2e_poll 20 "the enlarged view" view_shown
    e2e_poll 10 "the enlarged view at 860x574+50+50 (now $(view_geometry))" geometry_is "860x574+50+50"
    import -window root "$artefacts/shot_commands_zoom.png"
    view_click 16 11 # enlarge: 903 x 602, centred on 1280 x 1024
    e2e_poll 10 "one enlarge step" geometry_is "903x602+188+211"
    view_click 16 11
    e2e_poll 10 "two enlarge steps" geometry_is "948x632+166+196"
    view_click 44 11 # shrink: 900 x 600
    e2e_poll 10 "a shrink step" geometry_is "900x600+190+212"
    # "关闭" (30 wide, 2 from the right edge) closes.
    view_click $((900 - 32 + 15)) 12
    e2e_poll 10 "the view closed" view_gone
    # Wine unmaps the window a while after it is hidden; a press before
    # then would reach the going window.
    e2e_poll 10 "the view's modal loop ended" traced_reach 'modal loop window 0x52010124 ends' 1
    # A double-click opens it; "保存" saves and closes it.
    xdotool mousemove "$bx" "$by" click --repeat 2 --delay 80 1
    e2e_poll 20 "the enlarged view again" view_shown
    view_click $((860 - 32 - 40 + 15)) 12
    save_dialog_answers 1 type_name 'C:\out\big'
    e2e_poll 30 "big.jpg written" identify "$E2E_C/out/big.jpg"
    expect_saved "$E2E_C/out/big.jpg" "$E2E_DIR/shot1.png"
    e2e_poll 10 "the view closed after saving" view_gone
    e2e_poll 10 "the view's modal loop ended again" traced_reach 'modal loop window 0x52010124 ends' 2
    ;;
menu)
    show_known_picture
    tool_install "$bin"
    mkdir -p "$E2E_C/out"
    tool_start
    shot 1
    read -r bx by <<<"$(picture_box_centre)"
    # menu_item N: right press on the picture box, then a click on the Nth of
    # its four items (keys sent as the menu opens may be lost).
    menu_item() {
        local popups x y w h
        popups=$(traced 'popup menu 0x52010001')
        xdotool mousemove "$bx" "$by" click 3
        e2e_poll 10 "the context menu" traced_reach 'popup menu 0x52010001 "编辑"' $((popups + 1))
        e2e_poll 10 "the menu on screen" menu_rect
        IFS=, read -r x y w h <<<"$(menu_rect)"
        xdotool mousemove $((x + w / 2)) $((y + 3 + ($1 * 2 - 1) * (h - 6) / 8)) click 1
    }
    # The shown popup menu's rectangle: x,y,w,h.
    menu_rect() {
        local rect
        rect=$(wine "$E2E_HELPERS/winquery.exe" list 2>/dev/null | tr -d '\r' |
            sed -n 's/^class=#32768 .*visible=1 .*rect=\([-0-9,]*\).*/\1/p' | head -n1)
        [ -n "$rect" ] && echo "$rect"
    }
    # 复制图片 puts the shot back on the clipboard.
    printf 'text' | xclip -selection clipboard -quiet 2>/dev/null &
    E2E_PIDS+=($!)
    clipboard_is_text() { [ "$(timeout 5 xclip -selection clipboard -o 2>/dev/null)" = text ]; }
    e2e_poll 10 "a text on the clipboard" clipboard_is_text
    menu_item 2
    e2e_poll 10 "the shot copied" clipboard_has_bitmap
    # 保存图片 saves.
    menu_item 4
    save_dialog_answers 1 type_name 'C:\out\menu'
    e2e_poll 30 "menu.jpg written" identify "$E2E_C/out/menu.jpg"
    expect_saved "$E2E_C/out/menu.jpg" "$E2E_DIR/shot1.png"
    # 清除图片 empties the box: zoom then finds nothing to show.
    menu_item 1
    tool_click "放大"
    e2e_expect_eq "$(box_text)" "没有截图!" "zoom after the menu's clear"
    dismiss_box
    # 打印图片 on the empty box gives the print message.
    menu_item 3
    e2e_expect_eq "$(box_text)" "您还没有截图呢!" "print after the clear"
    dismiss_box
    ;;
settings)
    show_known_picture
    tool_install "$bin"
    tool_start
    open_settings
    e2e_expect_eq "$(checks)" "0 1 0" "the boxes without a settings file"
    [ -e "$TOOL_APP/设置.ini" ] && e2e_fail "opening the window wrote the settings file"
    click_option "截图时隐藏本窗口"
    e2e_poll 10 "the hide option stored" stored "是否隐藏本窗口=真"
    click_option "截图完播放声音"
    e2e_poll 10 "the sound option stored" stored "是否播放=假"
    close_settings
    open_settings
    e2e_expect_eq "$(checks)" "1 0 0" "the boxes as stored"
    close_settings
    # The next capture hides the window and plays no sound.
    # The flow's last step shows the window again, after the sound's turn.
    shown_before=$(traced 'property 0x52010001/[^ ]* visible$')
    tool_click "全屏"
    e2e_poll 30 "the window hidden and shown again" traced_reach 'property 0x52010001/[^ ]* visible$' \
        $((shown_before + 2))
    e2e_poll 10 "the shot on the clipboard" clipboard_has_bitmap
    e2e_expect_eq "$(traced '^[0-9]* sound ')" 0 "capture sounds with the sound option off"
    timeout 10 xclip -selection clipboard -t image/bmp -o >"$E2E_DIR/clip.bmp" && convert "$E2E_DIR/clip.bmp" "$E2E_DIR/hidden.png"
    eval "$(xdotool getwindowgeometry --shell "$(tool_window_id)")"
    brightest=$(convert "$E2E_DIR/hidden.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
        -format '%[fx:int(255*maxima)]' info:)
    e2e_expect_eq "$brightest" 0 "brightest pixel where the hidden main window was"
    ;;
print)
    printer_start
    tool_install "$bin"
    # An older temp.jpg, and a run directory that cannot take a new one.
    convert -size 320x200 xc:'#ff0000' "bmp3:$TOOL_APP/temp.jpg"
    e2e_read_only_copy "$TOOL_APP"
    show_known_picture
    tool_start
    # An empty box prints nothing.
    tool_click "打印"
    e2e_expect_eq "$(box_text)" "您还没有截图呢!" "print with an empty box"
    dismiss_box
    shot 1
    tool_click "打印"
    printer_wait_pdf 90
    pdftoppm -r 48 -png -singlefile "$PRINTER_PDF" "$artefacts/shot_commands.print.page" ||
        e2e_fail "unreadable PDF $PRINTER_PDF"
    page="$artefacts/shot_commands.print.page.png"
    # The whole shot is on the page, shrunk to its width: trimmed of the
    # page's white, it has the shot's proportions and looks like the shot.
    convert "$page" -bordercolor white -border 1 -fuzz 5% -trim +repage "$E2E_DIR/printed.png"
    read -r pw ph <<<"$(identify -format '%w %h' "$E2E_DIR/printed.png")"
    awk -v w="$pw" -v h="$ph" 'BEGIN { exit !(h > 0 && w / h > 1.2 && w / h < 1.3) }' ||
        e2e_fail "the printed shot is ${pw}x${ph}, not 5:4 (cut off?), see $page"
    convert "$E2E_DIR/shot1.png" -resize "${pw}x${ph}!" "$E2E_DIR/scaled.png"
    error=$(compare -metric RMSE "$E2E_DIR/printed.png" "$E2E_DIR/scaled.png" null: 2>&1 |
        sed -n 's/.*(\([0-9.e-]*\)).*/\1/p')
    awk -v e="$error" 'BEGIN { exit !(e != "" && e < 0.1) }' ||
        e2e_fail "the printed page differs from the shot by RMSE $error, see $page"
    red=$(convert "$E2E_DIR/printed.png" -fx 'r > 0.8 && g < 0.2 && b < 0.2' -format '%[fx:mean]' info:)
    awk -v r="$red" 'BEGIN { exit !(r < 0.2) }' || e2e_fail "the older temp.jpg was printed ($red red)"
    # The editor, too, shows the shot and not the older temp.jpg it cannot replace.
    tool_click "编辑"
    e2e_poll 30 "the editor" xdotool search --onlyvisible --name '^编辑截图$'
    e2e_poll 20 "the editor's tools" wine "$E2E_HELPERS/winprobe.exe" where "编辑截图" "□"
    read -r cx cy <<<"$(tool_client "编辑截图")"
    [ -n "$cy" ] || e2e_fail "the editor's client area was not found"
    import -window root "$artefacts/shot_commands.print.editor.png"
    # The canvas lies 13, 48 into the client area; compare a part of it with the shot.
    convert "$artefacts/shot_commands.print.editor.png" -crop "300x200+$((cx + 13))+$((cy + 48))" +repage \
        "$E2E_DIR/edited_part.png"
    convert "$E2E_DIR/shot1.png" -crop 300x200+0+0 +repage "$E2E_DIR/shot_part.png"
    e2e_expect_eq "$(compare -metric AE "$E2E_DIR/edited_part.png" "$E2E_DIR/shot_part.png" null: 2>&1)" 0 \
        "pixels of the editor's canvas that differ from the shot"
    wine "$E2E_HELPERS/winquery.exe" close "编辑截图" 2>>"$E2E_DIR/wine.log"
    e2e_poll 20 "the main window shown again" tool_window_id
    ;;
*)
    e2e_fail "unknown scenario $scenario"
    ;;
esac
e2e_log "scenario $scenario passed"
