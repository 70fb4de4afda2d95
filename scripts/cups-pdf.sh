# Sourced by the test script after wine-env.sh: a running CUPS scheduler with a PDF printer
# (cups-pdf) that is Wine's default printer in the test prefixes. Printed jobs arrive as PDF files in
# TESSARINE_PDF_DIR, named after the job's title. Safe to run again and from several test runs at
# once: the checks and changes happen under one lock.
TESSARINE_PRINTER=TessarinePDF
# cups-pdf writes into "PDF" in the home folder the password database gives the job's user.
export TESSARINE_PDF_DIR="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
(
    flock 9
    if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
        cupsd
        for _ in $(seq 50); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.1; done
    fi
    if ! lpstat -p "$TESSARINE_PRINTER" >/dev/null 2>&1; then
        ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null || true)
        lpadmin -p "$TESSARINE_PRINTER" -v cups-pdf:/ -E ${ppd:+-P "$ppd"} 2>/dev/null
    fi
    cupsenable "$TESSARINE_PRINTER" 2>/dev/null || true
    cupsaccept "$TESSARINE_PRINTER" 2>/dev/null || true
    lpstat -d 2>/dev/null | grep -q 'system default destination:' || lpadmin -d "$TESSARINE_PRINTER"
) 9>/tmp/tessarine-cups.lock
mkdir -p "$TESSARINE_PDF_DIR"
# Wine's default printer in the test prefixes, whatever the system default is.
for prefix in "$WINEPREFIX" ${TESSARINE_DESKTOP_PREFIX:+"$TESSARINE_DESKTOP_PREFIX"}; do
    WINEPREFIX=$prefix wine reg add 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows' /v Device \
        /d "$TESSARINE_PRINTER,winspool,CUPS:$TESSARINE_PRINTER" /f >/dev/null 2>&1 || true
done
