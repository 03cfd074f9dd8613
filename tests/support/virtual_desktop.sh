# Sourced: a virtual desktop for the tests and the demo, each server with
# its log in FOLDER and its pid added to the array pids. A busy machine is
# slow, not broken: each waits up to 30 s for its server, and otherwise says
# why on standard error and returns 1.

# await_server NAME PID LOG WHAT CHECK...: returns once CHECK succeeds while
# the server PID runs.
await_server() {
  local name=$1 server=$2 log=$3 what=$4
  shift 4
  local deadline=$((SECONDS + 30))
  while ((SECONDS < deadline)) && kill -0 "$server" 2>/dev/null; do
    "$@" && return 0
    sleep 0.1
  done
  if kill -0 "$server" 2>/dev/null; then
    echo "$name does not $what after 30 s; its log:" >&2
  else
    echo "$name ended before it could $what; its log:" >&2
  fi
  cat "$log" >&2
  return 1
}

# start_virtual_display FOLDER WIDTHxHEIGHT starts Xvfb on a free display and
# exports DISPLAY once it answers.
# -noreset: a server resets when its last client leaves, and a client that
# connects meanwhile (the window manager after the first probe) is dropped.
start_virtual_display() {
  Xvfb -displayfd 3 -noreset -screen 0 "$2x24" -nolisten tcp 3>"$1/display" >"$1/xvfb.log" 2>&1 &
  pids+=("$!")
  await_server Xvfb "$!" "$1/xvfb.log" answer display_answers "$1/display" || return 1
  export DISPLAY=":$(head -1 "$1/display")"
}
display_answers() { [ -s "$1" ] && xdpyinfo -display ":$(head -1 "$1")" >/dev/null 2>&1; }

# start_window_manager FOLDER starts openbox on $DISPLAY with its own
# configuration in FOLDER (nothing of the user's) and returns once it
# manages the display.
start_window_manager() {
  XDG_CONFIG_HOME=$1/wm openbox --sm-disable >"$1/openbox.log" 2>&1 &
  pids+=("$!")
  await_server openbox "$!" "$1/openbox.log" "manage display $DISPLAY" window_manager_runs
}
window_manager_runs() { [[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]]; }
