#!/usr/bin/env bash
# Prepares a Wine prefix for the end-to-end tests in DIR: booted once, with the
# caption-button font and title bars drawn by Wine (there is no window manager
# on the test displays). Tests copy it, so that each owns its prefix.
# Idempotent: a finished prefix is left as it is.
set -euo pipefail
dir=${1:?usage: make_prefix.sh DIR}
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
[ -f "$dir/.vorn-ready-3" ] && exit 0
echo "preparing the Wine prefix template $dir"

work=$(mktemp -d "${dir%/}.new.XXXXXX")
home=$(mktemp -d)
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb=$!
cleanup() {
    WINEPREFIX="$work" wineserver -k 2>/dev/null || true
    e2e_drop_server_dir "$work"
    e2e_stop "$xvfb"
    rm -rf "$home" "$display_file"
    [ -d "$work" ] && rm -rf "$work"
    return 0
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
[ -s "$display_file" ] || { echo "make_prefix: Xvfb did not start" >&2; exit 1; }

export DISPLAY=":$(head -n1 "$display_file")" WINEPREFIX="$work" HOME="$home" WINEDEBUG=-all LANG=zh_CN.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wineboot -i >/dev/null 2>&1
wineserver -w
cp /usr/share/wine/fonts/marlett.ttf "$work/drive_c/windows/Fonts/"
# Wine links the user's Desktop, Documents, ... to $HOME, a directory that is
# gone once this script ends: give every copy real folders of its own.
for link in "$work"/drive_c/users/*/*; do
    if [ -L "$link" ]; then
        rm "$link"
        mkdir "$link"
    fi
done
reg=$(mktemp --suffix=.reg)
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Decorated"="N"\r\n' >"$reg"
wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
rm -f "$reg"
wineserver -w
e2e_drop_server_dir "$work"
touch "$work/.vorn-ready-3"
rm -rf "$dir"
mv "$work" "$dir"
