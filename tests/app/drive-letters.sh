#!/usr/bin/env bash
# drive-letters.sh add|remove PREFIX: gives the Wine prefix the drives D: and G: (so that the
# present drives C, D, G and Z leave gaps), or takes them away again.
set -eu
action=$1
export WINEPREFIX=$2
# The prefix must exist first, or Wine would take the folder for a finished prefix.
source "$(dirname "$0")/../../scripts/wine-env"
velkaro_ensure_prefix
folder="$WINEPREFIX/velkaro-test-drives"
case "$action" in
add)
    mkdir -p "$folder/d" "$folder/g"
    ln -sfn "$folder/d" "$WINEPREFIX/dosdevices/d:"
    ln -sfn "$folder/g" "$WINEPREFIX/dosdevices/g:"
    # The window test queries the task scheduler, which starts Wine's service processes; they
    # outlive the test and would keep its output open, so start them here, detached from it.
    wine schtasks /query >/dev/null 2>&1 </dev/null || true
    ;;
remove)
    rm -f "$WINEPREFIX/dosdevices/d:" "$WINEPREFIX/dosdevices/g:"
    rm -rf "$folder"
    ;;
*)
    echo "usage: $0 add|remove PREFIX" >&2
    exit 2
    ;;
esac
