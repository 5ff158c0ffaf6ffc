# Shared by the end-to-end scenarios: each scenario owns an Xvfb display, a copy
# of the prepared Wine prefix and a run directory, and stops every process it
# started (Xvfb by PID, the prefix's Wine processes through its own wineserver).
# Every wait is a bounded poll.

E2E_TEMPLATE_PREFIX=${VORN_WINE_TEMPLATE:-/var/tmp/vornshot-wine-prefix}

# A failed scenario shows what its run directory would otherwise take with it:
# the programs' own output, the windows on its screen, and whatever
# E2E_ON_FAIL (a command the scenario may set) adds.
e2e_fail() {
    echo "FAIL: $*" >&2
    e2e_show_state >&2
    [ -n "${E2E_ON_FAIL:-}" ] && "$E2E_ON_FAIL" >&2
    exit 1
}

e2e_show_state() {
    if [ -s "${E2E_DIR:-}/wine.log" ]; then
        echo "--- the programs' output (last lines)"
        tail -n 30 "$E2E_DIR/wine.log"
    fi
    if [ -s "${VORN_TRACE:-}" ]; then
        echo "--- the runtime's trace (last lines)"
        tail -n 15 "$VORN_TRACE"
    fi
    if [ -n "${DISPLAY:-}" ]; then
        echo "--- windows on $DISPLAY"
        timeout 5 xdotool getmouselocation >/dev/null 2>&1 || echo "(the X server does not answer)"
        timeout 5 xdotool search --onlyvisible --name '.*' getwindowname %@ 2>/dev/null | head -n 20
    fi
    if [ -n "${WINEPREFIX:-}" ]; then
        echo "--- processes in $WINEPREFIX"
        local environ pid
        for environ in /proc/[0-9]*/environ; do
            grep -qzxF "WINEPREFIX=$WINEPREFIX" "$environ" 2>/dev/null || continue
            pid=${environ#/proc/}
            ps -o pid=,stat=,etime=,wchan:20=,args= -p "${pid%/environ}"
        done
    fi
    return 0
}

e2e_log() { echo "[$(date +%H:%M:%S)] $*"; }

# e2e_start NAME: display, prefix and run directory for this scenario. The
# screen is 1280x1024 unless E2E_SCREEN gives another WIDTHxHEIGHT.
e2e_start() {
    local name=$1
    E2E_DIR=$(mktemp -d "/tmp/vornshot-e2e-$name.XXXXXX")
    E2E_PIDS=()
    trap e2e_cleanup EXIT
    flock "$E2E_TEMPLATE_PREFIX.lock" "$(dirname "${BASH_SOURCE[0]}")/make_prefix.sh" "$E2E_TEMPLATE_PREFIX"
    cp -a "$E2E_TEMPLATE_PREFIX" "$E2E_DIR/prefix"
    e2e_own_server_dir "$E2E_DIR/prefix"
    mkdir -p "$E2E_DIR/home"
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x1024}x24" -nolisten tcp 3>"$E2E_DIR/display" 2>"$E2E_DIR/xvfb.log" &
    E2E_XVFB=$!
    e2e_poll 10 "Xvfb display" test -s "$E2E_DIR/display"
    export DISPLAY=":$(head -n1 "$E2E_DIR/display")" WINEPREFIX="$E2E_DIR/prefix" HOME="$E2E_DIR/home"
    export LANG=zh_CN.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    E2E_C="$WINEPREFIX/drive_c"
    e2e_log "scenario $name: display $DISPLAY, run directory $E2E_DIR"
}

# e2e_alive PID: PID is still a running child of this shell. Once a child has
# ended its PID is free, and with scenarios side by side it soon names another
# scenario's process (an Xvfb, say): so it is never signalled after that.
e2e_alive() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    # The fields after the command name: state, parent, ...
    read -r -a stat <<<"${stat##*) }"
    [ "${stat[0]}" != Z ] && [ "${stat[1]}" = "$BASHPID" ]
}

# e2e_stop PID: ends a child of this shell that is still running.
e2e_stop() {
    if e2e_alive "$1"; then kill "$1" 2>/dev/null; fi
    return 0
}

# Wine keeps a prefix's server socket in a directory of /tmp named in the
# prefix's "wineserver" file, under the prefix's inode number. Copies of one
# template would share that directory, and a new prefix given the inode of one
# just removed would reach the old prefix's server while it lingers. So every
# copy gets a directory of its own, made here before any Wine process starts
# (two first processes would each make one, and miss each other's server), and
# the directory goes with the prefix.
e2e_own_server_dir() {
    local dir
    dir=$(mktemp -d "${TMPDIR:-/tmp}/wine-XXXXXX")
    rm -f "$1/wineserver"
    printf %s "${dir##*/}" >"$1/wineserver"
    chmod 400 "$1/wineserver"
}

e2e_drop_server_dir() {
    local name
    name=$(cat "$1/wineserver" 2>/dev/null) || return 0
    case $name in
    wine-??????) rm -rf "${TMPDIR:-/tmp}/$name" ;;
    esac
    rm -f "$1/wineserver"
}

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do e2e_stop "$pid"; done
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k 2>/dev/null
        e2e_drop_server_dir "$WINEPREFIX"
    fi
    e2e_unmount_staged
    [ -n "${E2E_XVFB:-}" ] && e2e_stop "$E2E_XVFB"
    [ -n "${E2E_XVFB:-}" ] && wait "$E2E_XVFB" 2>/dev/null
    if [ -n "${E2E_KEEP:-}" ]; then
        echo "kept $E2E_DIR"
    else
        rm -rf "$E2E_DIR"
    fi
    return 0
}

# Read-only and full folders are mounts, since root writes through permission
# bits (tests run as root; a scenario that stages one is skipped otherwise).
# They go before the run directory does, and the programs using them before
# that.
E2E_STAGED_MOUNTS=()
e2e_need_root() { [ "$(id -u)" = 0 ] || { echo "SKIP: $1 needs root for its mount"; exit 77; }; }

# e2e_read_only_copy DIR: DIR becomes a read-only view of what it holds now.
e2e_read_only_copy() {
    e2e_need_root "a read-only folder"
    mount --bind "$1" "$1" || e2e_fail "cannot bind-mount $1"
    E2E_STAGED_MOUNTS+=("$1")
    mount -o remount,bind,ro "$1" || e2e_fail "cannot make $1 read-only"
    touch "$1/.probe" 2>/dev/null && e2e_fail "$1 is still writable"
}

# e2e_small_disk DIR BYTES: DIR becomes an empty disk of BYTES.
e2e_small_disk() {
    e2e_need_root "a small disk"
    mkdir -p "$1"
    mount -t tmpfs -o "size=$2" tmpfs "$1" || e2e_fail "cannot mount a small tmpfs on $1"
    E2E_STAGED_MOUNTS+=("$1")
}

e2e_unmount_staged() {
    local mount
    [ ${#E2E_STAGED_MOUNTS[@]} -eq 0 ] && return 0
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
    for mount in "${E2E_STAGED_MOUNTS[@]}"; do umount "$mount" 2>/dev/null || umount -l "$mount"; done
    E2E_STAGED_MOUNTS=()
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

# e2e_make_known_picture FILE: a 240 x 160 picture no screen shows by chance.
e2e_make_known_picture() {
    convert -size 240x160 gradient:'#ff2000-#0030ff' -fill '#10e040' -draw 'rectangle 20,20,90,70' \
        -fill '#fafa00' -draw 'circle 170,100 200,120' -depth 8 "$1"
}

# e2e_show_picture FILE X Y: shows the picture in ImageMagick's viewer, a
# plain X window without a border at (X, Y), and waits for its window. The
# viewer now and then fails to reach a display that has just come up: it is
# started again then.
e2e_show_picture() {
    local attempt viewer
    for attempt in 1 2 3; do
        display -borderwidth 0 -geometry "+$2+$3" "$1" &
        viewer=$!
        E2E_PIDS+=("$viewer")
        e2e_poll 30 "the picture viewer" e2e_viewer_shown_or_gone "$viewer"
        e2e_alive "$viewer" && break
        [ "$attempt" -eq 3 ] && e2e_fail "ImageMagick's viewer did not start"
    done
    e2e_poll 30 "the picture viewer's window" xdotool search --onlyvisible --name 'ImageMagick'
}
# e2e_show_known_picture X Y: the known picture shown at (X, Y), waited for
# until it is drawn. For scenarios that compare shots with what the
# clipboard got, not with this picture: it only has to be drawn, so that the
# screen is not all black.
e2e_show_known_picture() {
    e2e_make_known_picture "$E2E_DIR/known.png"
    e2e_show_picture "$E2E_DIR/known.png" "$1" "$2"
    e2e_poll 30 "the known picture drawn" e2e_known_picture_drawn "$1" "$2"
}
e2e_known_picture_drawn() {
    import -window root "$E2E_DIR/screen.png" &&
        [ "$(convert "$E2E_DIR/screen.png" -crop "240x160+$1+$2" +repage -format '%[fx:int(100*mean)]' info:)" -gt 20 ]
}
e2e_viewer_shown_or_gone() {
    xdotool search --onlyvisible --name 'ImageMagick' >/dev/null 2>&1 || ! e2e_alive "$1"
}

# e2e_windows_pid NAME: the Linux PID of the Windows program NAME (say
# VornShot.exe) running in this scenario's prefix; another scenario's copy
# beside it is not taken.
e2e_windows_pid() {
    local environ pid
    for environ in /proc/[0-9]*/environ; do
        grep -qzxF "WINEPREFIX=$WINEPREFIX" "$environ" 2>/dev/null || continue
        pid=${environ#/proc/}
        pid=${pid%/environ}
        tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF "$1" && { echo "$pid"; return 0; }
    done
    return 1
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
    while e2e_alive "$E2E_PID"; do
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
