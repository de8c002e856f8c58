#!/usr/bin/env bash
# Sets up the machine, builds Mivra.exe and starts it under Wine: on $DISPLAY,
# or on an Xvfb of its own when there is none (then it saves a screenshot to
# build/screenshot.png and stops Mivra after a few seconds).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/prepare.sh" win

exe="$MIVRA_BUILD/win/Mivra.exe"
if [ "$MIVRA_OWN_XVFB" = 1 ]; then
  echo "run: no \$DISPLAY, so Mivra runs on its own Xvfb ($DISPLAY)"
  "$WINE" "$exe" "$@" &
  pid=$!
  xdotool search --sync --onlyvisible --name '^Mivra$' >/dev/null 2>&1 &
  search=$!
  for _ in $(seq 100); do kill -0 $search 2>/dev/null || break; sleep 0.1; done
  kill $search 2>/dev/null || true
  sleep 1
  import -window root "$MIVRA_BUILD/screenshot.png"
  echo "run: screenshot saved to $MIVRA_BUILD/screenshot.png"
  kill $pid 2>/dev/null || true
  "$WINESERVER" -k 2>/dev/null || true
else
  echo "run: starting $exe on $DISPLAY"
  exec "$WINE" "$exe" "$@"
fi
