#!/usr/bin/env bash
# The printing tests' printer: a running CUPS scheduler with a PDF printer (cups-pdf). Printed jobs
# arrive as PDF files in TESSARINE_PDF_DIR, named after the job's title.
# Run by root (scripts/cups-pdf.sh), it readies the scheduler and the printer, the one part of the test
# set-up that needs root, and ends there; the scheduler then keeps no finished job. Sourced by the test
# script after wine-env.sh, it readies what is missing (another user through sudo), makes the printer
# Wine's default in the test prefixes, and removes the run's own print jobs from CUPS when the run
# ends: the jobs' titles carry TESSARINE_PRINT_RUN, which no other run has. Safe to run again and from
# several test runs at once: the changes, when any is needed, happen under one lock.
TESSARINE_PRINTER=TessarinePDF
_cups_pdf_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$_cups_pdf_here/system.sh"
TESSARINE_PDF_DIR=$(pdf_folder)
export TESSARINE_PDF_DIR

cups_pdf_ready() {
    lpstat -r 2>/dev/null | grep -q 'is running' \
        && lpstat -p "$TESSARINE_PRINTER" 2>/dev/null | grep -q 'enabled' \
        && lpstat -a "$TESSARINE_PRINTER" 2>/dev/null | grep -q 'accepting' \
        && lpstat -d 2>/dev/null | grep -q 'system default destination:'
}

# Whether the scheduler keeps no finished job: neither its history nor its files. CUPS has the setting
# for the whole scheduler only, not for one printer.
cups_pdf_keeps_no_jobs() {
    grep -qx 'PreserveJobHistory No' /etc/cups/cupsd.conf && grep -qx 'PreserveJobFiles No' /etc/cups/cupsd.conf
}

# Root's part, under one lock: the scheduler, the printer, its queue, a default destination, and no
# finished job kept: only root may purge one, so every other user's test runs would leave theirs in
# the spool (19 jobs, 36 MB a run). The scheduler reloads for it once its jobs in progress are done.
cups_pdf_make_ready() {
    if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
        as_root cupsd
        for _ in $(seq 50); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.1; done
    fi
    if ! lpstat -p "$TESSARINE_PRINTER" >/dev/null 2>&1; then
        ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null || true)
        as_root lpadmin -p "$TESSARINE_PRINTER" -v cups-pdf:/ -E ${ppd:+-P "$ppd"} 2>/dev/null
    fi
    as_root cupsenable "$TESSARINE_PRINTER" 2>/dev/null || true
    as_root cupsaccept "$TESSARINE_PRINTER" 2>/dev/null || true
    lpstat -d 2>/dev/null | grep -q 'system default destination:' || as_root lpadmin -d "$TESSARINE_PRINTER"
    if ! cups_pdf_keeps_no_jobs; then
        as_root cupsctl PreserveJobHistory=No PreserveJobFiles=No
        for _ in $(seq 50); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.1; done
    fi
}

# Takes every job of this run out of CUPS, its history and its spool files: those whose title holds
# the run's mark, whatever its case (picture windows print under their titles in capitals). Root (also
# through sudo) purges them, finished or not; another user can only cancel those not finished, which
# is all there is once root has readied the printer (the scheduler then keeps no finished job).
cups_pdf_forget_run_jobs() {
    local uri="ipp://localhost/printers/$TESSARINE_PRINTER" jobs="$_cups_pdf_here/cups-jobs.test" id
    local me
    me=$(id -un)
    for id in $(ipptool -c -d me="$me" "$uri" "$jobs" 2>/dev/null | tail -n +2); do
        ipptool -c -d me="$me" -d job="$id" "$uri" "$jobs" 2>/dev/null | grep -qi "_${TESSARINE_PRINT_RUN}_" \
            || continue
        if can_be_root; then
            as_root ipptool -d me=root -d job="$id" -d purge=yes "$uri" "$jobs" >/dev/null 2>&1 || true
        else
            cancel -x "$id" 2>/dev/null || true
        fi
    done
}

# Run on its own by root, it readies everything, the scheduler's settings included.
if [ "${BASH_SOURCE[0]}" = "$0" ] && [ "$(id -u)" = 0 ]; then
    (
        machine_lock cups
        cups_pdf_make_ready
    )
    exit 0
fi
if ! cups_pdf_ready; then
    if ! can_be_root; then
        echo "test: the PDF printer $TESSARINE_PRINTER is not ready; run $(shell_quote "$_cups_pdf_here/cups-pdf.sh") once as root" >&2
        exit 1
    fi
    (
        machine_lock cups
        cups_pdf_ready || cups_pdf_make_ready
    )
fi
# Run on its own by a user sudo lets: the printer is all it was asked for.
[ "${BASH_SOURCE[0]}" = "$0" ] && exit 0

mkdir -p "$TESSARINE_PDF_DIR"
export TESSARINE_PRINT_RUN=${_wine_tmp##*.}
wine_env_on_cleanup cups_pdf_forget_run_jobs
# Wine's default printer in the test prefixes, whatever the system default is.
for prefix in "$WINEPREFIX" ${TESSARINE_DESKTOP_PREFIX:+"$TESSARINE_DESKTOP_PREFIX"}; do
    WINEPREFIX=$prefix wine reg add 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows' /v Device \
        /d "$TESSARINE_PRINTER,winspool,CUPS:$TESSARINE_PRINTER" /f >/dev/null 2>&1 || true
done
