#!/bin/sh
# Runs the image tool the way the build and people use it: exit codes,
# stdout and stderr of each command.
set -u
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$tool" build "$dir/image.bin" || fail "build exited $?"
"$tool" verify "$dir/image.bin" >"$dir/out" 2>"$dir/err" || fail "verify of the built image: $(cat "$dir/err")"
grep -q '^ok: ' "$dir/out" || fail "verify printed no ok line"
"$tool" dump "$dir/image.bin" >"$dir/dump" || fail "dump exited $?"
grep -q 'krnln' "$dir/dump" || fail "dump lists no support library"
"$tool" sample "$dir/sample.bin" && "$tool" verify "$dir/sample.bin" >/dev/null || fail "sample image"

head -c 200 "$dir/image.bin" >"$dir/short.bin"
"$tool" verify "$dir/short.bin" >"$dir/out" 2>"$dir/err"
[ $? -eq 1 ] || fail "verify of a truncated image did not exit 1"
grep -q 'short.bin: support-library table' "$dir/err" || fail "unexpected reason: $(cat "$dir/err")"
[ ! -s "$dir/out" ] || fail "verify printed to stdout on failure"

"$tool" verify "$dir/missing.bin" 2>/dev/null
[ $? -eq 2 ] || fail "missing file did not exit 2"
"$tool" frobnicate "$dir/image.bin" 2>/dev/null
[ $? -eq 2 ] || fail "unknown command did not exit 2"
echo "imagetool CLI ok"
