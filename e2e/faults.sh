#!/usr/bin/env bash
# Faults a user's machine has and a test machine does not, staged under Wine
# and survived: a read-only install directory, a full disk while saving, a
# settings file that is not what the tool wrote, a screen whose size changes
# between two captures, and a system library planted beside the tool.
#   faults.sh SCENARIO WINDOWS_BIN_DIR ARTEFACT_DIR
set -uo pipefail
scenario=${1:?scenario}
bin=${2:?windows bin directory}
artefacts=${3:?artefact directory}
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tool.sh"
E2E_HELPERS="$bin/e2e"

# The executable's own imports are resolved before its first instruction
# runs, so no search restriction of ours reaches them: they must all be
# libraries that Windows lists as known (HKLM\...\Session Manager\KnownDLLs),
# which it takes from the system directory whatever lies beside the program.
# A check of the built file; it needs no Wine.
if [ "$scenario" = executable_imports ]; then
    known=" advapi32.dll combase.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll"
    known+=" rpcrt4.dll sechost.dll shell32.dll shlwapi.dll user32.dll ws2_32.dll "
    imports=$(x86_64-w64-mingw32-objdump -p "$bin/VornShot.exe" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z')
    [ -n "$imports" ] || { echo "FAIL: no imports read from $bin/VornShot.exe" >&2; exit 1; }
    for dll in $imports; do
        [[ $known == *" $dll "* ]] || { echo "FAIL: VornShot.exe imports $dll, which Windows does not know" >&2; exit 1; }
    done
    echo "VornShot.exe imports only known libraries:" $imports
    exit 0
fi

e2e_start "faults.$scenario"
mkdir -p "$artefacts"
export VORN_TRACE="$E2E_DIR/trace.log"

source "$(dirname "$0")/flows.sh"

# capture_into FILE: a full-screen shot, waited for up to the flow's last step
# (the main window shown again, after the sound's turn); its picture, from
# the clipboard, as FILE.
capture_into() {
    local shown
    shown=$(traced 'property 0x52010001/[^ ]* visible$')
    put_text "before the capture"
    tool_click "全屏"
    e2e_poll 30 "the capture's last step" traced_reach 'property 0x52010001/[^ ]* visible$' $((shown + 1))
    read_clipboard "$1"
}
# capture_seen_by_windows FILE: the same, its picture read from the clipboard
# as Windows programs read it. Once the screen mode has changed, Wine's bridge
# between its clipboard and X's now and then stops handing either's content
# to the other; what the tool put there is still there for Windows programs.
capture_seen_by_windows() {
    local shown
    shown=$(traced 'property 0x52010001/[^ ]* visible$')
    tool_click "全屏"
    e2e_poll 30 "the capture's last step" traced_reach 'property 0x52010001/[^ ]* visible$' $((shown + 1))
    e2e_expect_line "$(wine "$E2E_HELPERS/winprobe.exe" clipboard-bitmap "$(winepath -w "$E2E_DIR/clip.bmp")" \
        2>>"$E2E_DIR/wine.log" | tr -d '\r')" "written"
    convert "$E2E_DIR/clip.bmp" "$1" || e2e_fail "the clipboard bitmap does not read"
}
# A message box beside the main window has no title of its own: it carries
# the tool's caption. Waits for one and sets E2E_BOX (text=, icon=, button=
# lines; the text's later lines follow its first) and BOX_TEXT, its first
# line; Enter dismisses it.
probe_box() {
    e2e_probe_msgbox "$caption"
    BOX_TEXT=$(sed -n 's/^text=//p' <<<"$E2E_BOX")
}
message_boxes() {
    wine "$E2E_HELPERS/winquery.exe" list 2>/dev/null | tr -d '\r' | grep -c '^class=#32770 .*visible=1'
}

checks_are() { [ "$(checks)" = "$1" ]; }
hide_option="截图时隐藏本窗口"
sound_option="截图完播放声音"

# The settings file's identity: a rewrite, even to the same bytes, changes
# its inode (the tool replaces the file) or its time.
file_identity() { stat -c '%i %s %Y' "$1"; }

case $scenario in
read_only_install)
    # Everything a user does goes on; a choice that cannot be stored is said
    # once, and the box goes back to what is stored.
    tool_install "$bin"
    e2e_read_only_copy "$TOOL_APP"
    show_known_picture
    tool_start
    capture_into "$E2E_DIR/shot1.png"
    e2e_expect_eq "$(identify -format '%wx%h' "$E2E_DIR/shot1.png")" "1280x1024" "the shot's size"
    put_text "before the copy"
    tool_click "复制"
    read_clipboard "$E2E_DIR/copied.png"
    e2e_expect_eq "$(compare -metric AE "$E2E_DIR/copied.png" "$E2E_DIR/shot1.png" null: 2>&1)" 0 \
        "pixels of the copy that differ from the shot"
    open_settings
    e2e_expect_eq "$(checks)" "0 1 0" "the boxes without a settings file"
    n=0
    for option in "$hide_option" "$sound_option"; do
        n=$((n + 1))
        click_option "$option"
        probe_box
        [[ $BOX_TEXT == 设置没有保存到文件:* ]] || e2e_fail "the message for '$option': $E2E_BOX"
        grep -qF 'C:\vorn\app\设置.ini' <<<"$E2E_BOX" || e2e_fail "the message does not name the file: $E2E_BOX"
        e2e_expect_eq "$(message_boxes)" 1 "message boxes shown for the click on '$option'"
        import -window root "$artefacts/faults.read_only_install.box$n.png"
        dismiss_box
        e2e_poll 10 "the boxes back at the stored state (now $(checks))" checks_are "0 1 0"
    done
    # Had a click said so twice, the second box would hold the window: the
    # close button answers only once every box is gone.
    close_settings
    e2e_expect_eq "$(message_boxes)" 0 "message boxes left"
    [ -e "$TOOL_APP/设置.ini" ] && e2e_fail "a settings file appeared in the read-only folder"
    sounds_before=$(sounds_played)
    capture_into "$E2E_DIR/shot2.png"
    e2e_poll 10 "the capture sound, still on as stored" traced_reach '^[0-9]* sound ' $((sounds_before + 1))
    tool_exit
    ;;
full_disk)
    # Saving over an earlier file on a disk with no room left: a clear
    # message, and the earlier file as it was.
    full="$E2E_DIR/full"
    e2e_small_disk "$full" 256k
    convert -size 64x48 xc:red -quality 90 "$full/shot.jpg"
    cp "$full/shot.jpg" "$E2E_DIR/earlier.jpg"
    dd if=/dev/zero of="$full/filler" bs=4k 2>/dev/null
    e2e_expect_eq "$(df --output=avail -B1 "$full" | tail -n1 | tr -d ' ')" 0 "bytes free on the small disk"
    ln -s "$full" "$WINEPREFIX/dosdevices/f:"
    tool_install "$bin"
    show_known_picture
    tool_start
    capture_into "$E2E_DIR/shot1.png"
    tool_click "保存"
    save_dialog_answers 1 type_name 'F:\shot'
    probe_box
    import -window root "$artefacts/faults.full_disk.box.png"
    for part in '截图没有保存到文件:' 'F:\shot.jpg' '磁盘空间不足。'; do
        grep -qF "$part" <<<"$E2E_BOX" || e2e_fail "the message lacks '$part': $E2E_BOX"
    done
    dismiss_box
    cmp -s "$full/shot.jpg" "$E2E_DIR/earlier.jpg" || e2e_fail "the earlier file was changed"
    e2e_expect_eq "$(ls -A "$full" | tr '\n' ' ')" "filler shot.jpg " "the small disk's files"
    # Room again: the same save now goes through.
    rm -f "$full/filler"
    tool_click "保存"
    save_dialog_answers 2 type_name 'F:\shot'
    replaced() { ! cmp -s "$full/shot.jpg" "$E2E_DIR/earlier.jpg" && identify "$full/shot.jpg"; }
    e2e_poll 30 "shot.jpg replaced" replaced
    e2e_expect_eq "$(identify -format '%m %wx%h' "$full/shot.jpg")" "JPEG 1280x1024" "the saved file"
    tool_exit
    ;;
settings_file)
    # 设置.ini as a user or another program may leave it. The tool starts,
    # reads what it can (defaults elsewhere) and leaves the file alone until
    # a settings click, which keeps every other byte.
    tool_install "$bin"
    show_known_picture
    gbk() { printf "$1" | iconv -f UTF-8 -t GBK; }
    for variant in garbage big utf8_mark no_line_feeds; do
        file="$TOOL_APP/设置.ini"
        case $variant in
        garbage)
            # Random bytes, NULs, line breaks and brackets included: nothing
            # to read, so every option is at its default (the sound on).
            python3 -c 'import random, sys; r = random.Random(14); sys.stdout.buffer.write(bytes(r.randrange(256) for _ in range(4096)))' >"$file"
            # How the new lines are ended depends on the bytes' own line breaks.
            sound=1 boxes="0 1 0"
            added() { return 1; }
            ;;
        big)
            # The sound turned off, then ten megabytes of a log that landed here.
            { gbk '[截图时声音]\r\n是否播放=假\r\n'
              seq -f '; line %g of a log that landed here' 1 300000 | sed 's/$/\r/'; } >"$file"
            sound=0 boxes="0 0 0"
            added() { gbk '[截图时隐藏]\r\n是否隐藏本窗口=真\r\n'; }
            ;;
        utf8_mark)
            # Saved by an editor that writes UTF-8 with its byte-order mark.
            printf '\xEF\xBB\xBF[截图时声音]\r\n是否播放 = 假\r\n' >"$file"
            sound=0 boxes="0 0 0"
            added() { printf '[截图时隐藏]\r\n是否隐藏本窗口=真\r\n'; }
            ;;
        no_line_feeds)
            # Lines ended by carriage returns alone, the last one not at all.
            gbk '[截图选项]\r复制到剪贴板=真\r[截图时声音]\r是否播放=假' >"$file"
            sound=0 boxes="0 0 1"
            added() { gbk '\r[截图时隐藏]\r是否隐藏本窗口=真\r'; }
            ;;
        esac
        cp "$file" "$E2E_DIR/before.ini"
        # added: the bytes a click on the hide option adds after all of these.
        if added >"$E2E_DIR/added"; then cat "$E2E_DIR/before.ini" "$E2E_DIR/added" >"$E2E_DIR/expected.ini"
        else rm -f "$E2E_DIR/expected.ini"; fi
        identity=$(file_identity "$file")
        e2e_log "variant $variant: $(stat -c %s "$file") bytes"
        : >"$VORN_TRACE"
        tool_start
        capture_into "$E2E_DIR/$variant.png"
        e2e_expect_eq "$(sounds_played)" "$sound" "$variant: capture sounds"
        open_settings
        e2e_expect_eq "$(checks)" "$boxes" "$variant: the boxes as read"
        e2e_expect_eq "$(file_identity "$file")" "$identity" "$variant: the file after start, capture and opening"
        click_option "$hide_option"
        # Every other byte kept; the choice added after them.
        kept_and_added() {
            local size
            size=$(stat -c %s "$E2E_DIR/before.ini")
            if [ -e "$E2E_DIR/expected.ini" ]; then
                cmp -s "$E2E_DIR/expected.ini" "$file"
            else
                head -c "$size" "$file" | cmp -s - "$E2E_DIR/before.ini" &&
                    tail -c +$((size + 1)) "$file" | iconv -f GBK -t UTF-8 | tr '\r' '\n' | tr -s '\n' |
                    grep -A1 -xF '[截图时隐藏]' | grep -qxF '是否隐藏本窗口=真'
            fi
        }
        e2e_poll 10 "$variant: the hide option stored after every other byte" kept_and_added
        e2e_expect_eq "$(message_boxes)" 0 "$variant: message boxes after the click"
        close_settings
        open_settings
        e2e_expect_eq "$(checks)" "1${boxes#0}" "$variant: the boxes after the click"
        close_settings
        tool_exit
        e2e_expect_eq "$(ls -A "$TOOL_APP" | LC_ALL=C sort | tr '\n' ' ')" "VornShot.exe krnln.fnr 设置.ini " \
            "$variant: the install directory's files"
    done
    ;;
screen_size)
    # The screen's size changes while the tool runs, as when the user picks
    # another resolution: the next capture has the new size. Xvfb here cannot
    # change its size, but a Wine desktop of its own can, on request of any
    # program (ChangeDisplaySettingsEx): every program of this prefix runs in
    # one, the tool and the helper that changes the mode alike.
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n%s\r\n"Default"="1280x1024"\r\n' \
        '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' >"$E2E_DIR/desktop.reg"
    wine regedit /S "$(winepath -w "$E2E_DIR/desktop.reg")" >/dev/null 2>&1 || e2e_fail "regedit"
    wineserver -w
    tool_install "$bin"
    tool_start
    n=0
    for size in 1280x1024 1024x768 1280x1024; do
        n=$((n + 1))
        if [ $n -gt 1 ]; then
            mode=$(wine "$E2E_HELPERS/display_mode.exe" "${size%x*}" "${size#*x}" 2>>"$E2E_DIR/wine.log" | tr -d '\r')
            e2e_expect_line "$mode" "screen=$size"
        fi
        capture_seen_by_windows "$E2E_DIR/shot$n.png"
        e2e_expect_eq "$(identify -format '%wx%h' "$E2E_DIR/shot$n.png")" "$size" "the size of shot $n"
    done
    tool_exit
    ;;
planted_system_dll)
    # A winmm.dll beside the tool (the runtime imports PlaySoundW from it) is
    # never loaded: the tool starts, captures with its sound and ends, and
    # the planted copy has not run.
    tool_install "$bin"
    cp "$E2E_HELPERS/planted/winmm.dll" "$TOOL_APP/"
    # Wine prefers its own winmm wherever the loader finds a file of that
    # name; Windows has no such preference and takes the first file its
    # search finds. Asked to prefer a real DLL, Wine searches as Windows
    # does, and finds the planted one if its search is not narrowed.
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winmm=n,b"
    tool_start
    capture_into "$E2E_DIR/shot.png"
    e2e_expect_eq "$(sounds_played)" 1 "capture sounds"
    tool_exit
    # The mark is named as the module was asked for ("WINMM.dll.loaded").
    marks=$(find "$TOOL_APP" -iname 'winmm.dll.loaded')
    [ -z "$marks" ] || e2e_fail "the planted winmm.dll was loaded: $marks"
    ;;
*)
    e2e_fail "unknown scenario $scenario"
    ;;
esac
e2e_log "scenario $scenario passed"
