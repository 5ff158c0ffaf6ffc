# A PDF printer of the scenario's own: a private CUPS scheduler listening on a
# socket in the run directory, with a cups-pdf queue as its default
# destination, and CUPS_SERVER pointing Wine at it. Sourced after lib.sh.
# cups-pdf must run as root, so the scenarios that print skip elsewhere.

# printer_start: after e2e_start. Exits 77 (skip) when it cannot be had.
printer_start() {
    if [ "$(id -u)" != 0 ] || [ ! -x /usr/sbin/cupsd ] || [ ! -x /usr/lib/cups/backend/cups-pdf ] ||
        ! command -v lpadmin >/dev/null || ! command -v pdftoppm >/dev/null; then
        echo "SKIP: printing needs root, cupsd, cups-pdf and poppler-utils"
        exit 77
    fi
    local dir="$E2E_DIR/cups"
    mkdir -p "$dir/spool" "$dir/cache" "$dir/state" "$dir/temp" "$dir/log"
    # Filters run as the scheduler's unprivileged user: they must reach the
    # spooled job and a temporary folder, nothing else of the run directory.
    chmod 711 "$E2E_DIR" "$dir"
    chgrp lp "$dir/spool" "$dir/temp"
    chmod 770 "$dir/spool" "$dir/temp"
    cat >"$dir/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
CONF
    cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/temp
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
CONF
    /usr/sbin/cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" 2>>"$dir/log/cupsd.log" &
    E2E_PIDS+=($!)
    export CUPS_SERVER="$dir/cups.sock"
    PRINTER_LOG="$dir/log"
    E2E_ON_FAIL=printer_show_log
    # lpstat -r succeeds whether or not a scheduler answers; only its (untranslated)
    # words tell.
    scheduler_answers() { [ "$(LC_ALL=C lpstat -r 2>/dev/null)" = "scheduler is running" ]; }
    e2e_poll 20 "the print scheduler" scheduler_answers
    lpadmin -p PDF -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -E 2>>"$dir/log/cupsd.log" ||
        e2e_fail "could not add the PDF printer"
    lpadmin -d PDF 2>>"$dir/log/cupsd.log" || e2e_fail "could not make PDF the default printer"
    # cups-pdf writes into the job owner's home, whatever HOME says here.
    PRINTER_PDF_DIR="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
    mkdir -p "$PRINTER_PDF_DIR"
    touch "$E2E_DIR/before-printing"
}

# The scheduler's own account of a failed scenario.
printer_show_log() {
    local log
    for log in "$PRINTER_LOG"/*; do
        [ -s "$log" ] && { echo "--- $log"; tail -n 40 "$log"; }
    done
    return 0
}

# printer_wait_pdf SECONDS: waits for the PDF the scenario printed, for it to
# read whole, and moves it into the run directory as PRINTER_PDF. (The PDF
# folder is shared: two scenarios printing at once could take each other's.)
printer_wait_pdf() {
    local found=
    printed_pdf() {
        found=$(find "$PRINTER_PDF_DIR" -maxdepth 1 -name '*.pdf' -newer "$E2E_DIR/before-printing" | head -n1)
        [ -n "$found" ]
    }
    e2e_poll "$1" "the printed PDF" printed_pdf
    printed_pdf
    # The backend writes the file while the page is converted.
    e2e_poll 30 "a complete PDF" pdfinfo "$found"
    PRINTER_PDF="$E2E_DIR/printed.pdf"
    mv "$found" "$PRINTER_PDF"
}
