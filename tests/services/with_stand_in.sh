#!/usr/bin/env bash
# with_stand_in.sh COMMAND [ARGS...]: runs the command beside a local stand-in of the maker's
# services, telling it where the stand-in listens through VELKARO_TEST_SERVICE (base address),
# VELKARO_TEST_CLOSED_PORT (a port nobody listens on), VELKARO_TEST_SILENT_HTTPS (an https
# base address whose server accepts connections and never answers) and VELKARO_TEST_STATE (the
# folder of recorded requests). Stops the stand-in afterwards.
set -u
state="$(mktemp -d)"
python3 "$(dirname "$0")/stand_in_service.py" --state "$state" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$state"' EXIT
for _ in $(seq 100); do
  [[ -s "$state/port" ]] && break
  sleep 0.1
done
if [[ ! -s "$state/port" ]]; then
  echo "with_stand_in: the stand-in service did not start" >&2
  exit 1
fi
export VELKARO_TEST_SERVICE="http://127.0.0.1:$(cat "$state/port")"
export VELKARO_TEST_CLOSED_PORT="$(cat "$state/closed-port")"
export VELKARO_TEST_SILENT_HTTPS="https://127.0.0.2:$(cat "$state/silent-port")/silent"
export VELKARO_TEST_STATE="$state"
"$@"
