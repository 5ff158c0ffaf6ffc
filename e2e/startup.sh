#!/usr/bin/env bash
# Start-up scenarios under Wine: how VornShot.exe finds its runtime library,
# hands over the program image, and fails.
#   startup.sh SCENARIO WINDOWS_BIN_DIR [ARTEFACT_DIR, unused]
set -uo pipefail
scenario=${1:?scenario}
bin=${2:?windows bin directory}
source "$(dirname "$0")/lib.sh"
E2E_HELPERS="$bin/e2e"

error_text="Not found the kernel library or the kernel library is invalid!"

e2e_start "$scenario"
app="$E2E_C/vorn/app"
install="$E2E_C/vorn/install"
mkdir -p "$app" "$install"
cp "$bin/VornShot.exe" "$app/"

set_install_path() { # Windows path as stored in the registry
    local reg="$E2E_DIR/install.reg" escaped=${1//\\/\\\\}
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Marrowsoft\\E\\Install]\r\n"Path"="%s"\r\n' \
        "$escaped" >"$reg"
    wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1 || e2e_fail "regedit"
}

# The runtime took the image over when the program's main window appears;
# closing it ends the process with 0.
expect_clean_run() {
    e2e_launch "$1" "${2:-VornShot.exe}"
    local id=""
    e2e_poll 60 "the main window" xdotool search --name '^Vorn截图工具V6.0$'
    id=$(xdotool search --name '^Vorn截图工具V6.0$' | head -n1)
    xdotool windowfocus "$id" key alt+F4
    e2e_wait_exit 60
    e2e_expect_eq "$E2E_EXIT" 0 "exit code"
}

# The stub's error box: found by its title, checked by its text, icon and
# button, dismissed with Enter; the process then ends with -1 (255 here).
expect_error_box() {
    e2e_launch "$app" VornShot.exe
    e2e_probe_msgbox Error
    e2e_expect_line "$E2E_BOX" "text=$error_text"
    e2e_expect_line "$E2E_BOX" "icon=stop"
    e2e_expect_line "$E2E_BOX" "button=1"
    [ -n "${1:-}" ] && { "$@" || e2e_fail "while the box was shown: $*"; }
    e2e_dismiss Error
    e2e_wait_exit 30
    e2e_expect_eq "$E2E_EXIT" 255 "exit code"
}

case $scenario in
runtime_beside_exe)
    cp "$bin/krnln.fnr" "$app/"
    expect_clean_run "$app"
    ;;
no_runtime)
    expect_error_box
    ;;
install_path_with_backslash)
    cp "$bin/krnln.fnr" "$install/krnln.fne"
    set_install_path 'C:\vorn\install\'
    expect_clean_run "$app"
    ;;
install_path_without_backslash)
    cp "$bin/krnln.fnr" "$install/krnln.fne"
    set_install_path 'C:\vorn\install'
    expect_clean_run "$app"
    ;;
install_path_missing_library)
    set_install_path 'C:\vorn\install'
    expect_error_box
    ;;
beside_exe_wins_over_install_path)
    # The install directory holds a working runtime, but the refusing one
    # beside the executable is the one loaded.
    cp "$bin/krnln.fnr" "$install/krnln.fne"
    set_install_path 'C:\vorn\install'
    cp "$bin/e2e/refusing/krnln.fnr" "$app/"
    expect_error_box
    ;;
export_missing)
    cp "$bin/e2e/without_export/krnln.fnr" "$app/"
    expect_error_box
    ;;
export_refuses)
    cp "$bin/e2e/refusing/krnln.fnr" "$app/"
    expect_error_box test -f "$app/krnln.fnr.released"
    ;;
deep_install_directory)
    # Far deeper than 128 characters, still within the 260 the loader takes.
    deep="$E2E_C/vorn/$(printf 'directory-level-%02d/' $(seq 1 9))app"
    mkdir -p "$deep"
    cp "$bin/VornShot.exe" "$bin/krnln.fnr" "$deep/"
    expect_clean_run "$deep"
    ;;
invalid_image)
    # Spoil the embedded image's magic: the runtime must refuse it.
    cp "$bin/krnln.fnr" "$app/"
    python3 - "$app/VornShot.exe" <<'PY' || e2e_fail "could not find the embedded image"
import sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
at = data.find(b"WJ\0\0" + bytes(32))
assert at >= 0
data[at] = ord("X")
open(path, "wb").write(data)
PY
    e2e_launch "$app" VornShot.exe
    e2e_probe_msgbox Error
    grep -q '^text=The program image is invalid: .*magic' <<<"$E2E_BOX" || e2e_fail "box: $E2E_BOX"
    e2e_dismiss Error
    e2e_wait_exit 30
    e2e_expect_eq "$E2E_EXIT" 3 "exit code"
    ;;
*)
    e2e_fail "unknown scenario $scenario"
    ;;
esac
e2e_log "scenario $scenario passed"
