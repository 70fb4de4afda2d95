#!/usr/bin/env bash
# Runs one Windows program under Wine; ctest uses it as the emulator of the test programs.
export WINEDEBUG=${WINEDEBUG:--all}
# A test that uses the clipboard or the real pointer asks for the run's private desktop (ctest sets
# TESSARINE_OWN_DESKTOP): the second prefix and display that the test script made.
if [ -n "${TESSARINE_OWN_DESKTOP:-}" ] && [ -n "${TESSARINE_DESKTOP_PREFIX:-}" ]; then
    export WINEPREFIX=$TESSARINE_DESKTOP_PREFIX DISPLAY=$TESSARINE_DESKTOP_DISPLAY
fi
exec wine "$@"
