# Sourced: start_virtual_display FOLDER WIDTHxHEIGHT starts Xvfb on a free
# display, adds its pid to the array pids, exports DISPLAY and returns once
# the display answers; otherwise it says why on standard error and returns 1.
# Its log is FOLDER/xvfb.log.
# -noreset: a server resets when its last client leaves, and a client that
# connects meanwhile (the window manager after the first probe) is dropped.
start_virtual_display() {
  local folder=$1 size=$2
  Xvfb -displayfd 3 -noreset -screen 0 "${size}x24" -nolisten tcp 3>"$folder/display" >"$folder/xvfb.log" 2>&1 &
  local server=$!
  pids+=("$server")
  local deadline=$((SECONDS + 30))
  while ((SECONDS < deadline)) && kill -0 "$server" 2>/dev/null; do
    if [ -s "$folder/display" ] && xdpyinfo -display ":$(head -1 "$folder/display")" >/dev/null 2>&1; then
      export DISPLAY=":$(head -1 "$folder/display")"
      return 0
    fi
    sleep 0.1
  done
  if kill -0 "$server" 2>/dev/null; then
    echo "Xvfb does not answer after 30 s; its log:" >&2
  else
    echo "Xvfb ended before it answered; its log:" >&2
  fi
  cat "$folder/xvfb.log" >&2
  return 1
}
