# Sourced by the test script after wine-env.sh: a running CUPS scheduler with a PDF printer
# (cups-pdf) that is Wine's default printer in the test prefixes. Printed jobs arrive as PDF files in
# TESSARINE_PDF_DIR, named after the job's title. Safe to run again and from several test runs at
# once: the changes, when any is needed, happen under one lock; root makes them (another user through
# sudo).
TESSARINE_PRINTER=TessarinePDF
# cups-pdf writes into "PDF" in the home folder the password database gives the job's user.
export TESSARINE_PDF_DIR="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
. "$(dirname "${BASH_SOURCE[0]}")/system.sh"

cups_pdf_ready() {
    lpstat -r 2>/dev/null | grep -q 'is running' \
        && lpstat -p "$TESSARINE_PRINTER" 2>/dev/null | grep -q 'enabled' \
        && lpstat -a "$TESSARINE_PRINTER" 2>/dev/null | grep -q 'accepting' \
        && lpstat -d 2>/dev/null | grep -q 'system default destination:'
}

# Root's part, under one lock: the scheduler, the printer, its queue, a default destination.
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
}

if ! cups_pdf_ready; then
    if [ "$(id -u)" != 0 ] && ! command -v sudo >/dev/null 2>&1; then
        echo "test: the PDF printer $TESSARINE_PRINTER is not ready; run scripts/test.sh once as root" >&2
        exit 1
    fi
    (
        machine_lock cups
        cups_pdf_ready || cups_pdf_make_ready
    )
fi
mkdir -p "$TESSARINE_PDF_DIR"
# Wine's default printer in the test prefixes, whatever the system default is.
for prefix in "$WINEPREFIX" ${TESSARINE_DESKTOP_PREFIX:+"$TESSARINE_DESKTOP_PREFIX"}; do
    WINEPREFIX=$prefix wine reg add 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows' /v Device \
        /d "$TESSARINE_PRINTER,winspool,CUPS:$TESSARINE_PRINTER" /f >/dev/null 2>&1 || true
done
