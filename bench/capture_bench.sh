#!/usr/bin/env bash
# The full-screen capture pipeline under Wine at three screen sizes, against
# a bare BitBlt + CF_BITMAP baseline measured in the same run and on the same
# display. Not a test: it asserts nothing and prints a table.
#   bash bench/capture_bench.sh [ITERATIONS]     (after scripts/build)
#
# The tool's steps are read from its runtime trace (VORN_TRACE, microsecond
# stamps): snapshot = from the snapshot request until the picture box is
# given the shot (grab, encode, hand-over to the program); picture box = until
# the clipboard transfer starts (the box takes the shot; it decodes it when
# it next paints, after the flow); clipboard = until
# the picture object is released (decode, bitmap, the four clipboard calls);
# total = until the capture sound starts, the flow's last timed step. Peak
# memory is each process's peak working set (VmHWM under Wine). The tool and
# the baseline capture in turns, one after the other, on the same screen.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/windows/bin
iterations=${1:-7}
source "$root/e2e/lib.sh"
source "$root/e2e/tool.sh"
E2E_HELPERS="$bin/e2e"
[ -f "$bin/VornShot.exe" ] && [ -f "$bin/bench/capture_baseline.exe" ] || {
    echo "build first: bash scripts/build" >&2
    exit 1
}

median() { sort -n | awk '{v[NR]=$1} END{if (NR) print (NR % 2 ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2)}'; }

# measure SIZE: one line "SIZE base_snap base_clip tool_snap tool_box tool_clip tool_total base_peak tool_peak"
measure() (
    E2E_SCREEN=$1 e2e_start "bench-$1" >/dev/null
    tool_install "$bin"
    cp "$bin/bench/capture_baseline.exe" "$TOOL_APP/"
    export VORN_TRACE="$E2E_DIR/trace.log"
    tool_start
    # The two take turns, half a second apart, each waited for: the load of
    # the moment falls on both alike.
    (cd "$TOOL_APP" && exec wine capture_baseline.exe "$iterations" . 2>/dev/null) >"$E2E_DIR/baseline.raw" &
    E2E_PIDS+=("$!")
    for ((i = 1; i <= iterations; i++)); do
        sleep 0.5
        : >"$TOOL_APP/go.$i"
        e2e_poll 60 "baseline capture $i" sh -c "[ \$(grep -c '^baseline' '$E2E_DIR/baseline.raw') -ge $i ]"
        sleep 0.5
        tool_click "全屏"
        e2e_poll 60 "capture $i" sh -c "[ \$(grep -c '^[0-9]* sound ' '$VORN_TRACE') -ge $i ]"
    done
    e2e_poll 30 "the baseline's peak" grep -q '^peak_working_set' "$E2E_DIR/baseline.raw"
    tr -d '\r' <"$E2E_DIR/baseline.raw" >"$E2E_DIR/baseline.txt"
    base_snap=$(awk '/^baseline/{print $2}' "$E2E_DIR/baseline.txt" | median)
    base_clip=$(awk '/^baseline/{print $3}' "$E2E_DIR/baseline.txt" | median)
    base_peak=$(awk '/^peak_working_set/{print $2}' "$E2E_DIR/baseline.txt")
    # The Windows process is a Linux process of its own, not the launcher.
    tool_pid=$(e2e_windows_pid VornShot.exe)
    tool_peak=$(awk '/^VmHWM/{print $2 * 1024}' "/proc/$tool_pid/status")
    awk '
        / snapshot screen/ { s = $1 }
        / property .*截图效果图片框 picture/ { p = $1 }
        / picture object from/ { o = $1 }
        / release picture object/ { r = $1 }
        / sound / { print p - s, o - p, r - o, $1 - s }' "$VORN_TRACE" >"$E2E_DIR/tool.txt"
    tool=()
    for column in 1 2 3 4; do tool+=("$(awk -v c=$column '{print $c}' "$E2E_DIR/tool.txt" | median)"); done
    # The best totals: the screen read both pay swings by a factor of two
    # between captures here, the medians with it.
    base_best=$(awk '/^baseline/{print $2 + $3}' "$E2E_DIR/baseline.txt" | sort -n | head -n1)
    tool_best=$(awk '{print $4}' "$E2E_DIR/tool.txt" | sort -n | head -n1)
    # Each round's tool total over the baseline's total of the same round.
    paired=$(awk '/^baseline/{print $2 + $3}' "$E2E_DIR/baseline.txt" | paste - <(awk '{print $4}' "$E2E_DIR/tool.txt") |
        awk '$1 > 0 && $2 != "" {print $2 / $1}' | median)
    echo "$1 $base_snap $base_clip ${tool[*]} $base_peak $tool_peak $base_best $tool_best $paired"
)

ms() { awk -v v="$1" 'BEGIN{printf "%.1f", v / 1000}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{if (b > 0) printf "%.2fx", a / b; else print "-"}'; }
mib() { awk -v v="$1" 'BEGIN{printf "%.0f", v / 1048576}'; }

echo "full-screen capture under Wine, median of $iterations, milliseconds (ratio to the baseline)"
printf '%-10s %-22s %-12s %-24s %-22s %-22s %-13s %s\n' screen snapshot "picture box" clipboard total "best total" \
    "peak MiB" "per round"
for size in ${BENCH_SIZES:-1024x768 1920x1080 3840x2160}; do
    read -r _ bs bc ts tb tc tt bp tp bb tbest paired <<<"$(measure "$size")"
    [ -n "${tbest:-}" ] || { echo "$size: no measurement" >&2; continue; }
    printf '%-10s %-22s %-12s %-24s %-22s %-22s %-13s %s\n' "$size" \
        "$(ms "$ts") vs $(ms "$bs") ($(ratio "$ts" "$bs"))" "$(ms "$tb")" \
        "$(ms "$tc") vs $(ms "$bc") ($(ratio "$tc" "$bc"))" \
        "$(ms "$tt") vs $(ms $((bs + bc))) ($(ratio "$tt" $((bs + bc))))" \
        "$(ms "$tbest") vs $(ms "$bb") ($(ratio "$tbest" "$bb"))" "$(mib "$tp") vs $(mib "$bp")" \
        "$(awk -v r="${paired:-0}" 'BEGIN{printf "%.2fx", r}')"
done
