# Sourced: start_window_manager FOLDER starts openbox on $DISPLAY with its own
# configuration and log in FOLDER (nothing of the user's), adds its pid to
# the array pids and returns once it manages the display. When it does not
# within 30 s (a busy machine is slow, not broken) it says why on standard
# error and returns 1.
start_window_manager() {
  XDG_CONFIG_HOME=$1/wm openbox --sm-disable >"$1/openbox.log" 2>&1 &
  local wm=$!
  pids+=("$wm")
  local deadline=$((SECONDS + 30))
  while ((SECONDS < deadline)); do
    [[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]] && return 0
    kill -0 "$wm" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$wm" 2>/dev/null; then
    echo "openbox does not manage display $DISPLAY after 30 s; its log:" >&2
  else
    echo "openbox ended before it managed display $DISPLAY; its log:" >&2
  fi
  cat "$1/openbox.log" >&2
  return 1
}
