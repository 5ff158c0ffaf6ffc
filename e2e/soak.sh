#!/usr/bin/env bash
# Long use without leaks: the tool is driven through the same cycle again and
# again (full-screen captures, two region captures, the editor opened on
# the last shot, annotated and finished, the enlarged view opened and closed),
# and what its process holds (GDI objects, user objects, handles, private
# memory) is read from the inside after every few cycles. The counts must
# not grow once every flow has run once.
#   soak.sh short|long WINDOWS_BIN_DIR ARTEFACT_DIR [CYCLES_PER_ROW ROWS]
# short: one warm-up cycle, then five cycles of ten full-screen captures (50
# captures, 10 region captures, 5 editor and 5 view cycles); long: 100 cycles
# of five (500 full-screen and 200 region captures, 100 editor and 100 view
# cycles), a row after every 20 (bench/soak.sh runs it).
set -uo pipefail
scenario=${1:?scenario}
bin=${2:?windows bin directory}
artefacts=${3:?artefact directory}
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tool.sh"
E2E_HELPERS="$bin/e2e"

case $scenario in
short) per_row=${4:-5} rows=${5:-1} captures_per_cycle=10 ;;
long) per_row=${4:-20} rows=${5:-5} captures_per_cycle=5 ;;
*) echo "unknown scenario $scenario" >&2; exit 2 ;;
esac

e2e_start "soak.$scenario"
mkdir -p "$artefacts"
tool_install "$bin"
export VORN_TRACE="$E2E_DIR/trace.log"
source "$(dirname "$0")/flows.sh"
# Colours the editor's tools bring back, so that every shape is drawn.
settings "编辑截图" "方框颜色" "255" "编辑截图" "箭头颜色" "65280" "编辑截图" "文字颜色" "16711680"

sounds=0 captures=0 regions=0 editors=0 views=0
cycle() {
    local k
    for ((k = 0; k < captures_per_cycle; ++k)); do
        sounds=$((sounds + 1)) captures=$((captures + 1))
        capture $sounds
    done
    sounds=$((sounds + 1)) regions=$((regions + 1))
    region $sounds 100 100 400 300
    sounds=$((sounds + 1)) regions=$((regions + 1))
    known_region $sounds
    editors=$((editors + 1))
    editor_open
    editor_annotate "AB"
    editor_finish $editors
    views=$((views + 1))
    view_cycle $views
}

table="$artefacts/soak.$scenario.txt"
row() {
    local counts
    counts=$(resources) && [ -n "$counts" ] || e2e_fail "the tool did not report its resources"
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$1" "$SECONDS" "$captures" "$regions" "$editors" "$views" \
        "$(sed 's/[a-z_]*=//g; s/ /\t/g' <<<"$counts")" | tee -a "$table"
}

show_known_picture
tool_start
printf 'row\tseconds\tcaptures\tregions\teditors\tviews\tgdi\tuser\thandles\tprivate_kib\n' | tee "$table"
row start
# Every flow once, so that what the system keeps after a first use counts as the start.
cycle
row warm
for ((r = 1; r <= rows; ++r)); do
    for ((c = 0; c < per_row; ++c)); do cycle; done
    row "$r"
    import -window root "$artefacts/soak.$scenario.$r.png"
done

# Flat: the last row against the warm one. A leak of one object per cycle
# shows as at least per_row; the allowance covers the system's own caches.
read -r -a warm <<<"$(awk -F'\t' '$1 == "warm" { print $7, $8, $9, $10 }' "$table")"
read -r -a last <<<"$(tail -n1 "$table" | awk -F'\t' '{ print $7, $8, $9, $10 }')"
names=(gdi user handles private_kib)
allowed=(3 2 3 16384)
for i in 0 1 2 3; do
    [ $((last[i] - warm[i])) -le "${allowed[i]}" ] ||
        e2e_fail "${names[i]} grew from ${warm[i]} to ${last[i]} (table: $table)"
done
# Clean: the window closes and the program ends with code 0.
wine "$E2E_HELPERS/winquery.exe" close "$TOOL_CAPTION" 2>>"$E2E_DIR/wine.log"
E2E_PID=$TOOL_PID
e2e_wait_exit 30
e2e_expect_eq "$E2E_EXIT" 0 "the exit code after the soak"
e2e_log "scenario $scenario passed"
