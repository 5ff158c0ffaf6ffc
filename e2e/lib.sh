# Shared by the end-to-end scenarios: each scenario owns an Xvfb display, a copy
# of the prepared Wine prefix and a run directory, and stops every process it
# started (Xvfb by PID, the prefix's Wine processes through its own wineserver).
# Every wait is a bounded poll.

E2E_TEMPLATE_PREFIX=${VORN_WINE_TEMPLATE:-/var/tmp/vornshot-wine-prefix}

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

e2e_log() { echo "[$(date +%H:%M:%S)] $*"; }

# e2e_start NAME: display, prefix and run directory for this scenario. The
# screen is 1280x1024 unless E2E_SCREEN gives another WIDTHxHEIGHT.
e2e_start() {
    local name=$1
    E2E_DIR=$(mktemp -d "/tmp/vornshot-e2e-$name.XXXXXX")
    E2E_PIDS=()
    trap e2e_cleanup EXIT
    if [ ! -f "$E2E_TEMPLATE_PREFIX/.vorn-ready-2" ]; then
        flock "$E2E_TEMPLATE_PREFIX.lock" "$(dirname "${BASH_SOURCE[0]}")/make_prefix.sh" "$E2E_TEMPLATE_PREFIX"
    fi
    cp -a "$E2E_TEMPLATE_PREFIX" "$E2E_DIR/prefix"
    mkdir -p "$E2E_DIR/home"
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x1024}x24" -nolisten tcp 3>"$E2E_DIR/display" 2>"$E2E_DIR/xvfb.log" &
    E2E_XVFB=$!
    e2e_poll 10 "Xvfb display" test -s "$E2E_DIR/display"
    export DISPLAY=":$(head -n1 "$E2E_DIR/display")" WINEPREFIX="$E2E_DIR/prefix" HOME="$E2E_DIR/home"
    export LANG=zh_CN.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    E2E_C="$WINEPREFIX/drive_c"
    e2e_log "scenario $name: display $DISPLAY, run directory $E2E_DIR"
}

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
    [ -n "${E2E_XVFB:-}" ] && kill "$E2E_XVFB" 2>/dev/null
    [ -n "${E2E_XVFB:-}" ] && wait "$E2E_XVFB" 2>/dev/null
    if [ -n "${E2E_KEEP:-}" ]; then
        echo "kept $E2E_DIR"
    else
        rm -rf "$E2E_DIR"
    fi
    return 0
}

# e2e_poll SECONDS WHAT COMMAND...: runs COMMAND every 0.1 s until it succeeds.
e2e_poll() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && e2e_fail "waited ${seconds}s for $what"
        sleep 0.1
    done
}

# e2e_launch DIR EXE [ARGS...]: starts a Windows program from DIR (a directory
# under drive C) in the background; sets E2E_PID.
e2e_launch() {
    local dir=$1 exe=$2
    shift 2
    (cd "$dir" && exec wine "$exe" "$@" >>"$E2E_DIR/wine.log" 2>&1) &
    E2E_PID=$!
    E2E_PIDS+=("$E2E_PID")
}

# e2e_wait_exit SECONDS: waits for the launched program; sets E2E_EXIT.
e2e_wait_exit() {
    local seconds=$1 deadline=$((SECONDS + $1))
    while kill -0 "$E2E_PID" 2>/dev/null; do
        [ $SECONDS -ge $deadline ] && e2e_fail "the program did not end within ${seconds}s"
        sleep 0.1
    done
    wait "$E2E_PID"
    E2E_EXIT=$?
}

# e2e_probe_msgbox TITLE: waits for a message box titled TITLE and prints its
# content (text=, icon=, button= lines) into E2E_BOX.
e2e_probe_msgbox() {
    E2E_BOX=$(wine "$E2E_HELPERS/winprobe.exe" msgbox "$1" 20000 2>>"$E2E_DIR/wine.log" | tr -d '\r') ||
        e2e_fail "no message box titled '$1': $E2E_BOX"
}

# e2e_dismiss TITLE: presses Enter in the X window titled TITLE, as a user would.
e2e_dismiss() {
    local title=$1 id deadline=$((SECONDS + 20))
    e2e_poll 20 "X window '$title'" xdotool search --name "^$title\$"
    while id=$(xdotool search --name "^$title\$" 2>/dev/null | head -n1) && [ -n "$id" ]; do
        [ $SECONDS -ge $deadline ] && e2e_fail "could not dismiss '$title'"
        xdotool windowfocus "$id" key Return 2>/dev/null || true
        sleep 0.3
    done
}

e2e_expect_eq() {
    [ "$1" = "$2" ] || e2e_fail "$3: expected '$2', got '$1'"
}

e2e_expect_line() {
    grep -qxF -- "$2" <<<"$1" || e2e_fail "expected the line '$2' in: $1"
}
