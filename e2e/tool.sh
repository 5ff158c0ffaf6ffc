# The tool itself under Wine, for the scenarios that drive it as a user
# would: installed into the scenario's drive C, started, its main window found
# and its buttons clicked by their captions. Sourced after lib.sh, once
# e2e_start has run; E2E_HELPERS names the helper programs' directory.

TOOL_CAPTION="Vorn截图工具V6.0"

# tool_install BIN: copies the executable and its runtime; sets TOOL_APP.
tool_install() {
    TOOL_APP="$E2E_C/vorn/app"
    mkdir -p "$TOOL_APP"
    cp "$1/VornShot.exe" "$1/krnln.fnr" "$TOOL_APP/"
}

# tool_window_id: the shown main window's X id; fails when there is none.
tool_window_id() {
    local id
    id=$(xdotool search --onlyvisible --name "^$TOOL_CAPTION\$" 2>/dev/null | head -n1)
    [ -n "$id" ] && echo "$id"
}

tool_shown_or_ended() { tool_window_id || ! e2e_alive "$TOOL_PID"; }

# tool_start: starts the tool and waits until its button row is shown; sets
# TOOL_PID.
tool_start() {
    # The runtime's trace goes with a failure's report: it tells why a start
    # ended early (a second copy, say).
    : "${VORN_TRACE:=$E2E_DIR/trace.log}"
    export VORN_TRACE
    e2e_launch "$TOOL_APP" VornShot.exe
    TOOL_PID=$E2E_PID
    e2e_poll 60 "the main window" tool_shown_or_ended
    if ! e2e_alive "$TOOL_PID"; then
        wait "$TOOL_PID"
        e2e_fail "the tool ended (exit code $?) before showing its main window"
    fi
    # The window is shown by its created handler, after the tips are attached.
    e2e_poll 20 "the button row" wine "$E2E_HELPERS/winprobe.exe" where "$TOOL_CAPTION" "关于"
}

# tool_client TITLE: "X Y" of the client area on the screen of the tool's
# top-level window titled TITLE (the editor, say).
tool_client() {
    wine "$E2E_HELPERS/winquery.exe" tree "$1" 5000 2>/dev/null | tr -d '\r' | head -n1 |
        sed -n 's/.* client=\([-0-9]*\),\([-0-9]*\),.*/\1 \2/p'
}

# tool_click TEXT: clicks the main window's control that shows TEXT, at its
# centre on screen, and waits until the runtime's trace shows the click
# arrived. Under Wine without a window manager, a press that comes while
# the tool waits in a window's hiding (Wine gives a window manager up to 2 s
# to withdraw a full-screen window) is dropped: a user would click again, and
# so does this, once.
tool_click() {
    local at clicks
    at=$(control_centre "$TOOL_CAPTION" "$1") || e2e_fail "no control showing $1: $at"
    clicks=$(tool_clicks)
    xdotool mousemove $at click 1
    local deadline=$((SECONDS + 5))
    until tool_clicks_reach $((clicks + 1)); do
        if [ $SECONDS -ge $deadline ]; then
            e2e_log "the click on $1 did not arrive: clicking again"
            xdotool mousemove $at click 1
            e2e_poll 10 "the click on $1" tool_clicks_reach $((clicks + 1))
            return
        fi
        sleep 0.1
    done
}
# control_centre TITLE TEXT: "X Y" on the screen of the control showing TEXT
# in the window titled TITLE. The probe is a Wine program, and a Wine program
# now and then fails to start on a loaded machine, printing nothing: it is
# asked again then, three times at most.
control_centre() {
    local at attempt
    for attempt in 1 2 3; do
        at=$(wine "$E2E_HELPERS/winprobe.exe" where "$1" "$2" 2>/dev/null | tr -d '\r') && {
            echo "$at"
            return 0
        }
        [ -n "$at" ] && break # it ran, and answered that there is no such control
    done
    echo "$at"
    return 1
}
tool_clicks() { grep -c '^[0-9]* msg 0x52010001/[^ ]* WM_LBUTTONUP ' "$VORN_TRACE" 2>/dev/null; }
tool_clicks_reach() { [ "$(tool_clicks)" -ge "$1" ]; }

# tool_exit: closing the main window ends the tool with code 0.
tool_exit() {
    xdotool windowfocus "$(tool_window_id)" key alt+F4
    E2E_PID=$TOOL_PID
    e2e_wait_exit 30
    e2e_expect_eq "$E2E_EXIT" 0 "the tool's exit code"
}
