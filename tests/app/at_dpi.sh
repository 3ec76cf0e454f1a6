#!/usr/bin/env bash
# at_dpi.sh DPI COMMAND [ARGS...]: runs the command with the Wine prefix's display at the DPI
# (HKCU\Control Panel\Desktop LogPixels, which Wine reads when a process starts) and names it
# in VELKARO_TEST_DPI; the prefix's own setting is put back afterwards. Tests that use it run
# alone (RUN_SERIAL), so that no other test starts at that DPI.
set -u
dpi=$1
shift
key='HKCU\Control Panel\Desktop'
before="$(wine reg query "$key" /v LogPixels 2>/dev/null | awk '/LogPixels/ {print $3}' | tr -d '\r')"
restore() {
  if [[ -n "$before" ]]; then
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$((before))" /f >/dev/null 2>&1
  else
    wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1
  fi
}
trap restore EXIT
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || exit 1
VELKARO_TEST_DPI=$dpi "$@"
