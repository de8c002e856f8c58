# Sourced: makes sure there is an X display. Uses $DISPLAY when it is set;
# otherwise starts an Xvfb of its own (1280x800) and says so.
#   MIVRA_FORCE_XVFB=1   start an own Xvfb even when $DISPLAY is set (tests)
mivra_start_xvfb() {
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp >"$fd_file" 2>/dev/null &
  MIVRA_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$fd_file" ] && break
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
  trap 'kill $MIVRA_XVFB_PID 2>/dev/null || true' EXIT
}

if [ -z "${DISPLAY:-}" ] || [ "${MIVRA_FORCE_XVFB:-0}" = 1 ]; then
  mivra_start_xvfb
  MIVRA_OWN_XVFB=1
else
  MIVRA_OWN_XVFB=0
fi
