#!/usr/bin/env bash
# Runs one Windows program under Wine; ctest uses it as the emulator of the test programs.
export WINEDEBUG=${WINEDEBUG:--all}
exec wine "$@"
