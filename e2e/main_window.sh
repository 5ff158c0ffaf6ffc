#!/usr/bin/env bash
# The main window under Wine, as a user meets it: shown with its caption,
# size, button row and tips; a second copy ends itself; the desktop shortcut;
# About; closing ends the program.
#   main_window.sh SCENARIO WINDOWS_BIN_DIR ARTEFACT_DIR
set -uo pipefail
scenario=${1:?scenario}
bin=${2:?windows bin directory}
artefacts=${3:?artefact directory}
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tool.sh"
E2E_HELPERS="$bin/e2e"
caption=$TOOL_CAPTION

e2e_start "main_window.$scenario"
mkdir -p "$artefacts"
tool_install "$bin"

case $scenario in
shown)
    tool_start
    geometry=$(xdotool getwindowgeometry "$(tool_window_id)")
    grep -q 'Geometry: 678x514' <<<"$geometry" || e2e_fail "main window geometry: $geometry"
    for text in 窗口 全屏 区域 放大 编辑 复制 清除 保存 打印 设置 关于; do
        wine "$E2E_HELPERS/winprobe.exe" where "$caption" "$text" >/dev/null 2>&1 || e2e_fail "no button $text"
    done
    # The promotional row stays hidden.
    if wine "$E2E_HELPERS/winprobe.exe" where "$caption" "更多软件:" >/dev/null 2>&1; then
        e2e_fail "the promotional row is visible"
    fi
    import -window root "$artefacts/main_window.png"
    e2e_log "screenshot: $artefacts/main_window.png"
    ;;
tip)
    tool_start
    at=$(wine "$E2E_HELPERS/winprobe.exe" where "$caption" "全屏" | tr -d '\r')
    read -r x y <<<"$at"
    xdotool mousemove $((x - 3)) $((y - 3)) sleep 0.2 mousemove "$x" "$y"
    # Wine's tooltip control keeps its text to itself, so the probe sees that a
    # tip is shown; which text each button gets is checked natively, and the
    # screenshot shows it.
    tip=$(wine "$E2E_HELPERS/winprobe.exe" tooltip 15000 | tr -d '\r') || e2e_fail "no tip on hover: $tip"
    [[ $tip == tip=* ]] || e2e_fail "no tip on hover: $tip"
    import -window root "$artefacts/main_window_tip.png"
    e2e_log "screenshot: $artefacts/main_window_tip.png"
    ;;
second_copy)
    tool_start
    first=$TOOL_PID
    e2e_launch "$TOOL_APP" VornShot.exe
    e2e_wait_exit 60
    e2e_expect_eq "$E2E_EXIT" 0 "second copy's exit code"
    count=$(xdotool search --name "^$caption\$" | wc -l)
    e2e_expect_eq "$count" 1 "main windows on screen"
    e2e_alive "$first" || e2e_fail "the first copy ended"
    ;;
shortcut)
    tool_start
    link=$(find "$HOME" "$WINEPREFIX/drive_c/users" -name 'Vorn截图工具.lnk' 2>/dev/null | head -n1)
    [ -n "$link" ] || e2e_fail "no desktop shortcut"
    info=$(lnkinfo "$link" 2>&1)
    grep -q 'VornShot.exe' <<<"$info" || e2e_fail "the shortcut does not point to VornShot.exe: $info"
    # Deleted, it comes back at the next start.
    rm -f "$link"
    xdotool windowfocus "$(tool_window_id)" key alt+F4
    E2E_PID=$TOOL_PID
    e2e_wait_exit 30
    tool_start
    e2e_poll 20 "the recreated shortcut" test -f "$link"
    ;;
about_and_close)
    tool_start
    tool_click "关于"
    e2e_probe_msgbox "关于本软件"
    grep -q "^text=                    $caption" <<<"$E2E_BOX" || e2e_fail "About text: $E2E_BOX"
    e2e_dismiss "关于本软件"
    tool_window_id >/dev/null || e2e_fail "the main window went away with the About box"
    xdotool windowfocus "$(tool_window_id)" key alt+F4
    E2E_PID=$TOOL_PID
    e2e_wait_exit 30
    e2e_expect_eq "$E2E_EXIT" 0 "exit code after closing"
    ;;
*)
    e2e_fail "unknown scenario $scenario"
    ;;
esac
e2e_log "scenario $scenario passed"
