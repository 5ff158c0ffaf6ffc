#!/usr/bin/env bash
# The region overlay under Wine at 1920x1080 and 3840x2160: the rubber band
# per pointer move (clear, band, repaint) against a bare BitBlt of the whole
# size into a window in the same run; and the overlay's start in the tool
# itself, from the click on "区域" (its button's release) to the frozen
# picture first painted, read from the runtime's trace (microsecond stamps),
# with the 200 ms the overlay waits for the desktop to settle. Not a test:
# it asserts nothing and prints a table.
#   bash bench/rubber_band_bench.sh [MOVES] [STARTS]     (after scripts/build)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/windows/bin
moves=${1:-300}
starts=${2:-5}
source "$root/e2e/lib.sh"
source "$root/e2e/tool.sh"
E2E_HELPERS="$bin/e2e"
[ -f "$bin/VornShot.exe" ] && [ -f "$bin/bench/rubber_band_bench.exe" ] || {
    echo "build first: bash scripts/build" >&2
    exit 1
}

median() { sort -n | awk '{v[NR]=$1} END{if (NR) print (NR % 2 ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2)}'; }
value() { awk -v k="$1" '$1 == k {print $2}' "$2"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{if (b > 0) printf "%.2fx", a / b; else print "-"}'; }
overlays_shown() { [ "$(grep -c '^[0-9]* show_window 0x520100b4$' "$VORN_TRACE" 2>/dev/null)" -ge "$1" ]; }
# Gone from the screen, not only from the program: Wine may take a while
# to unmap a window that covers the screen.
overlays_gone() {
    [ "$(grep -c '^[0-9]* destroy_window 0x520100b4$' "$VORN_TRACE" 2>/dev/null)" -ge "$1" ] &&
        ! xdotool search --onlyvisible --name '^捕获指定区域$' >/dev/null 2>&1
}

# measure SIZE: "band worst baseline start_ms"
measure() (
    E2E_SCREEN=$1 e2e_start "bench-band-$1" >/dev/null
    w=${1%x*} h=${1#*x}
    cp "$bin/bench/rubber_band_bench.exe" "$E2E_DIR/"
    (cd "$E2E_DIR" && wine rubber_band_bench.exe "$w" "$h" "$moves" 2>/dev/null | tr -d '\r') >"$E2E_DIR/band.txt"
    tool_install "$bin"
    export VORN_TRACE="$E2E_DIR/trace.log"
    tool_start
    for ((i = 1; i <= starts; i++)); do
        tool_click "区域"
        e2e_poll 60 "overlay $i" overlays_shown "$i"
        # Painted once shown; then cancel with the right button.
        sleep 0.5
        xdotool mousemove 300 300 click 3
        e2e_poll 20 "overlay $i closed" overlays_gone "$i"
    done
    awk '
        / msg 0x52010001\/按钮_截取区域 WM_LBUTTONUP/ { click = $1; painted = 0 }
        / msg 0x520100b4\/画板 WM_PAINT/ { if (click && !painted) { print $1 - click; painted = 1 } }' \
        "$VORN_TRACE" >"$E2E_DIR/start.txt"
    echo "$(value band "$E2E_DIR/band.txt") $(value band_worst "$E2E_DIR/band.txt")" \
        "$(value baseline "$E2E_DIR/band.txt") $(median <"$E2E_DIR/start.txt" | awk '{printf "%.1f", $1 / 1000}')"
)

echo "region overlay under Wine: rubber band per move (median of $moves, worst), overlay start (median of $starts)"
printf '%-10s %-28s %-10s %-12s %-22s\n' screen "band ms (vs BitBlt)" worst BitBlt "start ms (incl. 200 wait)"
for size in ${VORN_BENCH_SIZES:-1920x1080 3840x2160}; do
    read -r band worst base start <<<"$(measure "$size")"
    [ -n "${base:-}" ] || { echo "$size: no measurement" >&2; continue; }
    printf '%-10s %-28s %-10s %-12s %-22s\n' "$size" "$band ($(ratio "$band" "$base"))" "$worst" "$base" "$start"
done
