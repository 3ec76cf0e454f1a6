#!/usr/bin/env bash
# silent_scheduler.sh PROGRAM [ARGS...]: runs a Windows program in a Wine prefix made for it, in the
# wineserver session that made the prefix: there the Task Scheduler service runs but no call of
# it ever answers, as a scheduler that hangs. The program learns it from VELKARO_SILENT_SCHEDULER.
# The prefix goes afterwards.
set -u
folder="$(mktemp -d)"
export WINEPREFIX="$folder/prefix"
source "$(dirname "$0")/../../scripts/wine-env"
trap 'wineserver -k 2>/dev/null; rm -rf "$folder"' EXIT
if ! { wineboot -i && wine winecfg /v win10 &&
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f; } \
  >/dev/null 2>&1; then
  echo "silent_scheduler: the prefix could not be made" >&2
  exit 1
fi
wine net start schedule </dev/null >/dev/null 2>&1
VELKARO_SILENT_SCHEDULER=1 wine "$@"
