# Sourced: start_window_manager FOLDER starts openbox on $DISPLAY with its own
# configuration and log in FOLDER (nothing of the user's), adds its pid to
# the array pids and returns once it manages the display.
start_window_manager() {
  XDG_CONFIG_HOME=$1/wm openbox --sm-disable >"$1/openbox.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    [[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]] && return 0
    sleep 0.1
  done
}
