#!/usr/bin/env bash
# Saving a full-screen shot under Wine at two screen sizes, against the bare
# JPEG encode of the same picture at quality 70 in the same run. Not a test:
# it asserts nothing and prints a table.
#   bash bench/save_bench.sh [ITERATIONS]     (after scripts/build)
#
# Two figures per save: from the press of Return in the save dialog until the
# JPEG file is complete (what the user waits for), and the tool's own part,
# from the dialog's answer in the runtime's trace until the file is complete.
# Without a window manager, Wine waits up to 2 s for X to confirm that the
# closing dialog is withdrawn before the dialog returns; that wait is in the
# first figure only. The file appears under its name only once it is whole
# (the converter writes beside it and renames), so its appearance marks the
# end; the polls add a few milliseconds.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/windows/bin
iterations=${1:-5}
source "$root/e2e/lib.sh"
source "$root/e2e/tool.sh"
E2E_HELPERS="$bin/e2e"
[ -f "$bin/VornShot.exe" ] && [ -f "$bin/bench/jpeg_baseline.exe" ] || {
    echo "build first: bash scripts/build" >&2
    exit 1
}

median() { sort -n | awk '{v[NR]=$1} END{if (NR) print (NR % 2 ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2)}'; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# measure SIZE: one line "SIZE RETURN_TO_FILE_MS ANSWER_TO_FILE_MS ENCODE_MS".
measure() (
    E2E_SCREEN=$1 e2e_start "bench-save-$1" >/dev/null
    tool_install "$bin"
    cp "$bin/bench/jpeg_baseline.exe" "$TOOL_APP/"
    mkdir -p "$E2E_C/out"
    export VORN_TRACE="$E2E_DIR/trace.log"
    # A screen that does not compress to nothing.
    convert -size "$1" plasma:fractal "$E2E_DIR/plasma.png"
    display -borderwidth 0 -geometry +0+0 "$E2E_DIR/plasma.png" &
    E2E_PIDS+=($!)
    e2e_poll 30 "the picture" xdotool search --onlyvisible --name 'ImageMagick'
    tool_start
    tool_click "全屏"
    e2e_poll 60 "the capture" sh -c "grep -q '^[0-9]* sound ' '$VORN_TRACE'"
    times=()
    own=()
    for ((i = 1; i <= iterations; i++)); do
        tool_click "保存"
        e2e_poll 20 "save dialog $i" sh -c "[ \$(grep -c ' file dialog 0x52010001' '$VORN_TRACE') -ge $i ]"
        e2e_poll 20 "the dialog on screen" xdotool search --onlyvisible --name '^另存为$'
        xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^另存为$' | head -n1)" 2>/dev/null
        xdotool type --delay 20 "C:\\out\\s$i"
        start=$(now_ms)
        xdotool key Return
        until [ "$(grep -c 'file dialog -> ' "$VORN_TRACE")" -ge "$i" ]; do sleep 0.002; done
        answered=$(now_ms)
        while [ ! -e "$E2E_C/out/s$i.jpg" ]; do sleep 0.002; done
        done_at=$(now_ms)
        times+=($((done_at - start)))
        own+=($((done_at - answered)))
    done
    # The shot itself, as the capture put it on the clipboard.
    xclip -selection clipboard -t image/bmp -o >"$TOOL_APP/shot.bmp"
    encode=$(cd "$TOOL_APP" && wine jpeg_baseline.exe shot.bmp "$iterations" 2>/dev/null | tr -d '\r' |
        awk '/^encode/{print $2}')
    echo "$1 $(printf '%s\n' "${times[@]}" | median) $(printf '%s\n' "${own[@]}" | median) $encode"
)

echo "save of a full-screen shot under Wine, median of $iterations, milliseconds"
printf '%-10s %-16s %-16s %-12s %s\n' screen "Return to file" "answer to file" "bare encode" "ratio (answer/encode)"
for size in 1920x1080 3840x2160; do
    read -r _ total own encode <<<"$(measure "$size")"
    [ -n "${encode:-}" ] || { echo "$size: no measurement" >&2; continue; }
    printf '%-10s %-16s %-16s %-12s %s\n' "$size" "$total" "$own" "$encode" \
        "$(awk -v a="$own" -v b="$encode" 'BEGIN{printf "%.2fx", a / b}')"
done
