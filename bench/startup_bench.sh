#!/usr/bin/env bash
# Warm start under Wine: from the process's launch to its main window shown
# (X maps it), and for the tool on to a capture taken (a click on "全屏" as
# soon as the button row answers, until the capture sound), against a
# minimal Win32 program that shows one window, in the same run on the same
# display. The first start of each warms the prefix and the caches and is not
# counted. Not a test: it asserts nothing and prints a table.
#   bash bench/startup_bench.sh [RUNS]     (after scripts/build)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/windows/bin
runs=${1:-5}
source "$root/e2e/lib.sh"
source "$root/e2e/tool.sh"
E2E_HELPERS="$bin/e2e"
[ -f "$bin/VornShot.exe" ] && [ -f "$bin/bench/minimal_window.exe" ] || {
    echo "build first: bash scripts/build" >&2
    exit 1
}

median() { sort -n | awk '{v[NR]=$1} END{if (NR) print (NR % 2 ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2)}'; }
now_ms() { date +%s%3N; }
shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
sound_played() { grep -q '^[0-9]* sound ' "$VORN_TRACE" 2>/dev/null; }

e2e_start bench-startup >/dev/null
tool_install "$bin"
cp "$bin/bench/minimal_window.exe" "$TOOL_APP/"
export VORN_TRACE="$E2E_DIR/trace.log"
wineboot -i >/dev/null 2>&1 || true

# start_one EXE TITLE: starts it and sets ELAPSED to the milliseconds until its window is shown.
start_one() {
    local start
    start=$(now_ms)
    e2e_launch "$TOOL_APP" "$1"
    # A poll of its own: the scenarios' 0.1 s poll would round both starts
    # up to its steps, and the ratio with them.
    until shown "$2"; do
        [ $(($(now_ms) - start)) -lt 60000 ] || e2e_fail "waited 60s for $2"
        sleep 0.005
    done
    ELAPSED=$(($(now_ms) - start))
}

for ((i = 0; i <= runs; i++)); do
    start_one minimal_window.exe "最小窗口"
    minimal=$ELAPSED
    wine "$E2E_HELPERS/winquery.exe" close "最小窗口" 2>/dev/null
    e2e_wait_exit 30
    rm -f "$VORN_TRACE"
    start=$(now_ms)
    start_one VornShot.exe "$TOOL_CAPTION"
    shown_ms=$ELAPSED
    e2e_poll 30 "the button row" wine "$E2E_HELPERS/winprobe.exe" where "$TOOL_CAPTION" "全屏"
    tool_click "全屏"
    e2e_poll 60 "the first capture" sound_played
    ready=$(($(now_ms) - start))
    wine "$E2E_HELPERS/winquery.exe" close "$TOOL_CAPTION" 2>/dev/null
    e2e_wait_exit 30
    [ "$i" -eq 0 ] && continue # warming up
    echo "$minimal $shown_ms $ready" >>"$E2E_DIR/times.txt"
done
m=$(awk '{print $1}' "$E2E_DIR/times.txt" | median)
t=$(awk '{print $2}' "$E2E_DIR/times.txt" | median)
c=$(awk '{print $3}' "$E2E_DIR/times.txt" | median)
echo "warm start under Wine, median of $runs, milliseconds"
echo "minimal program to its window shown: $m"
echo "the tool to its main window shown:   $t ($(awk -v a="$t" -v b="$m" 'BEGIN{printf "%.2fx", a / b}'))"
echo "the tool to a first capture taken:   $c (includes finding the button and one capture)"
