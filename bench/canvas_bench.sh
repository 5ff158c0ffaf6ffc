#!/usr/bin/env bash
# Canvas surfaces: a whole-canvas block copy and a clear with a background
# picture, at 1920x1080 and 3840x2160; natively on the simulated surface, and
# under Wine on the runtime's GDI surface against a bare BitBlt between two
# memory DCs in the same run, with the previous path (through pictures, a
# decode per clear) beside them. Not a test: it asserts nothing and prints a
# table.
#   bash bench/canvas_bench.sh [RUNS]     (after scripts/build)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
native=$root/build/bin/bench/canvas_bench_sim
windows=$root/build/windows/bin/bench/canvas_bench.exe
[ -x "$native" ] && [ -f "$windows" ] || {
    echo "build first: bash scripts/build" >&2
    exit 1
}
source "$root/e2e/lib.sh"
e2e_start canvas-bench >/dev/null
cp "$windows" "$E2E_DIR/"

value() { awk -v k="$1" '$1 == k {print $2}' "$2"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{if (b > 0) printf "%.2fx", a / b; else print "-"}'; }

echo "canvas surfaces, median of $runs, milliseconds"
printf '%-10s %-10s %-10s %-26s %-26s %-10s %-14s %-14s\n' size "sim copy" "sim clear" "wine copy (vs BitBlt)" \
    "wine clear (vs BitBlt)" BitBlt "before: copy" "before: clear"
for size in 1920x1080 3840x2160; do
    w=${size%x*} h=${size#*x}
    "$native" "$w" "$h" "$runs" >"$E2E_DIR/native.txt"
    (cd "$E2E_DIR" && wine canvas_bench.exe "$w" "$h" "$runs" 2>/dev/null | tr -d '\r') >"$E2E_DIR/wine.txt"
    base=$(value baseline "$E2E_DIR/wine.txt")
    copy=$(value copy "$E2E_DIR/wine.txt")
    clear=$(value clear "$E2E_DIR/wine.txt")
    printf '%-10s %-10s %-10s %-26s %-26s %-10s %-14s %-14s\n' "$size" \
        "$(value copy "$E2E_DIR/native.txt")" "$(value clear "$E2E_DIR/native.txt")" \
        "$copy ($(ratio "$copy" "$base"))" "$clear ($(ratio "$clear" "$base"))" "$base" \
        "$(value copy_through_pictures "$E2E_DIR/wine.txt")" "$(value clear_decoding "$E2E_DIR/wine.txt")"
done
