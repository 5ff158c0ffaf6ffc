#!/bin/sh
# run_fuzzer.sh FUZZER CORPUS_DIR SECONDS [REGRESSION_DIR]
# Replays every regression input once, then fuzzes for SECONDS on a scratch
# copy of the seed corpus (the committed seeds stay as they are). Fails on any
# finding; the crashing input is kept and its path printed.
set -u
if [ $# -lt 3 ] || [ $# -gt 4 ]; then
    echo "usage: $0 FUZZER CORPUS_DIR SECONDS [REGRESSION_DIR]" >&2
    exit 2
fi
fuzzer=$1
corpus=$2
seconds=$3
regressions=${4:-}

if [ ! -x "$fuzzer" ]; then
    echo "run_fuzzer: no fuzzer at $fuzzer (was the fuzz sub-build built?)" >&2
    exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
mkdir "$work/corpus" "$work/findings"
if [ -d "$corpus" ]; then
    cp -R "$corpus"/. "$work/corpus/"
fi

if [ -n "$regressions" ] && [ -d "$regressions" ]; then
    files=$(find "$regressions" -type f ! -name '*.md' | sort)
    if [ -n "$files" ]; then
        echo "run_fuzzer: replaying $(echo "$files" | wc -l) regression input(s)"
        # shellcheck disable=SC2086 # one argument per file; the names have no spaces
        if ! "$fuzzer" -runs=1 $files >"$work/regressions.log" 2>&1; then
            cat "$work/regressions.log" >&2
            echo "run_fuzzer: a regression input fails again" >&2
            exit 1
        fi
    fi
fi

# -artifact_prefix keeps findings out of the working directory; copy them out
# before the scratch directory goes.
"$fuzzer" "$work/corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$work/findings/" -print_final_stats=1 >"$work/fuzz.log" 2>&1
status=$?
tail -n 20 "$work/fuzz.log"
if [ $status -ne 0 ] || [ -n "$(ls -A "$work/findings")" ]; then
    keep=$(mktemp -d "${TMPDIR:-/tmp}/fuzz-findings.XXXXXX")
    cp -R "$work/findings"/. "$keep/"
    cp "$work/fuzz.log" "$keep/"
    echo "run_fuzzer: $fuzzer found a problem (exit $status); inputs and log kept in $keep" >&2
    exit 1
fi
echo "run_fuzzer: no findings in ${seconds}s"
