#!/usr/bin/env bash
# Long use under Wine: 500 full-screen and 200 region captures, 100 editor
# and 100 enlarged-view cycles, with what the tool's process holds (GDI and
# user objects, handles, private memory) after every hundred captures. Not a
# regular test (about half an hour); the short soak among the tests runs the
# same cycle fifty captures long.
#   bash bench/soak.sh [CYCLES_PER_ROW ROWS]     (after scripts/build)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/windows/bin
[ -f "$bin/VornShot.exe" ] || { echo "build first: bash scripts/build" >&2; exit 1; }
exec bash "$root/e2e/soak.sh" long "$bin" "$root/build/bench-artefacts" "$@"
