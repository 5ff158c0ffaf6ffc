#!/usr/bin/env bash
# The editor under Wine: its rubber band per pointer move (the relay canvas
# refreshed from the cache, the shape drawn, the relay copied onto the shown
# foreground) at 1920x1080 and 3840x2160 against a bare BitBlt of the whole
# size into a window in the same run; and the tool's peak memory with a
# 3840x2160 shot in the editor and a rectangle dragged on it, against the
# idle tool plus six times the shot's bitmap, once more with the capture
# sound off (the first sound brings the system's audio threads and libraries
# in, after the idle tool was measured). Not a test: it asserts nothing and
# prints a table.
#   bash bench/editor_bench.sh [MOVES]     (after scripts/build)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/windows/bin
moves=${1:-300}
source "$root/e2e/lib.sh"
source "$root/e2e/tool.sh"
E2E_HELPERS="$bin/e2e"
[ -f "$bin/VornShot.exe" ] && [ -f "$bin/bench/editor_bench.exe" ] || {
    echo "build first: bash scripts/build" >&2
    exit 1
}

value() { awk -v k="$1" '$1 == k {print $2}' "$2"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{if (b > 0) printf "%.2fx", a / b; else print "-"}'; }
mib() { awk -v v="$1" 'BEGIN{printf "%.0f", v / 1048576}'; }

moves_at() (
    E2E_SCREEN=$1 e2e_start "bench-editor-$1" >/dev/null
    cp "$bin/bench/editor_bench.exe" "$E2E_DIR/"
    (cd "$E2E_DIR" && wine editor_bench.exe "${1%x*}" "${1#*x}" "$moves" 2>/dev/null | tr -d '\r') >"$E2E_DIR/out.txt"
    echo "$(value move "$E2E_DIR/out.txt") $(value move_worst "$E2E_DIR/out.txt") $(value baseline "$E2E_DIR/out.txt")"
)

editor_shown() { xdotool search --onlyvisible --name '^编辑截图$' >/dev/null 2>&1; }
editor_closed() { grep -q '^[0-9]* destroy_window 0x52010274$' "$VORN_TRACE" 2>/dev/null; }
peak() { awk '/^VmHWM/{print $2 * 1024}' "/proc/$(e2e_windows_pid VornShot.exe)/status"; }
resident() { awk '/^VmRSS/{print $2 * 1024}' "/proc/$(e2e_windows_pid VornShot.exe)/status"; }

# The main window shown again: the capture's last step, with or without
# its sound.
shown_count() { grep -c 'property 0x52010001/[^ ]* visible$' "$VORN_TRACE" 2>/dev/null; }
shown_again() { [ "$(shown_count)" -gt "$1" ]; }

# peak_memory [quiet]: "idle peak" of the tool with a 3840x2160 shot in the
# editor; quiet: with the capture sound off.
peak_memory() (
    E2E_SCREEN=3840x2160 e2e_start bench-editor-memory >/dev/null
    tool_install "$bin"
    [ "${1:-}" = quiet ] && printf '[截图时声音]\r\n是否播放=假\r\n' | iconv -f UTF-8 -t GBK >"$TOOL_APP/设置.ini"
    export VORN_TRACE="$E2E_DIR/trace.log"
    tool_start
    idle=$(peak)
    shown=$(shown_count)
    tool_click "全屏"
    e2e_poll 60 "the capture" shown_again "$shown"
    captured=$(peak)
    echo "resident after the capture: $(resident)" >&2
    tool_click "编辑"
    e2e_poll 60 "the editor" editor_shown
    e2e_poll 30 "the editor's tools" wine "$E2E_HELPERS/winprobe.exe" where "编辑截图" "□"
    opened=$(peak)
    echo "resident with the editor open: $(resident)" >&2
    at=$(wine "$E2E_HELPERS/winprobe.exe" where "编辑截图" "□" 2>/dev/null | tr -d '\r')
    xdotool mousemove $at click 1
    read -r cx cy <<<"$(tool_client "编辑截图")"
    xdotool mousemove $((cx + 100)) $((cy + 100)) mousedown 1
    for ((i = 1; i <= 40; i++)); do xdotool mousemove $((cx + 100 + i * 60)) $((cy + 100 + i * 40)); done
    xdotool mouseup 1
    sleep 1
    dragged=$(peak)
    echo "resident after the drag: $(resident)" >&2
    xdotool mousemove $((cx + 544)) $((cy + 21)) click 1
    e2e_poll 60 "the editor closed" editor_closed
    echo "$idle $(peak) $captured $opened $dragged"
)

echo "editor under Wine: rubber band per move (median of $moves, worst), milliseconds"
printf '%-10s %-26s %-10s %-10s\n' size "move (vs BitBlt)" worst BitBlt
for size in ${VORN_BENCH_SIZES:-1920x1080 3840x2160}; do
    read -r move worst base <<<"$(moves_at "$size")"
    [ -n "${base:-}" ] || { echo "$size: no measurement" >&2; continue; }
    printf '%-10s %-26s %-10s %-10s\n' "$size" "$move ($(ratio "$move" "$base"))" "$worst" "$base"
done
read -r idle top captured opened dragged <<<"$(peak_memory)"
if [ -n "${top:-}" ]; then
    bitmap=$((3840 * 2160 * 4))
    echo "peak memory with a 3840x2160 shot edited: $(mib "$top") MiB; idle tool $(mib "$idle") MiB;" \
        "goal: idle + 6 x $(mib "$bitmap") MiB bitmap = $(mib $((idle + 6 * bitmap))) MiB"
    echo "peak after the capture $(mib "$captured") MiB, the editor open $(mib "$opened") MiB," \
        "the drag $(mib "$dragged") MiB, the edit handed back $(mib "$top") MiB"
else
    echo "peak memory: no measurement" >&2
fi
read -r idle top _ <<<"$(peak_memory quiet)"
if [ -n "${top:-}" ]; then
    echo "with the capture sound off: peak $(mib "$top") MiB; idle tool $(mib "$idle") MiB"
else
    echo "peak memory with the sound off: no measurement" >&2
fi
