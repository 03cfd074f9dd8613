#!/usr/bin/env bash
# Shows Veltrane at work on this machine, touching nothing of the user's own:
# installs what is missing, builds the program (nothing else), starts a
# throw-away Dovecot POP3 server with two mailboxes of sample mail
# (scripts/demo_mail), writes two accounts for it into a fresh private
# profile and starts the program on that profile. It says what it is doing
# at each stage; the build's own output goes to BUILD/demo-build.log.
#
#   bash scripts/demo.sh [--no-build] [--server-only | --server-check]
#
# With a display (DISPLAY or WAYLAND_DISPLAY) the window opens; Quit in the
# program's tray menu or Ctrl-C ends the demo. Without one the program runs
# on a virtual X display with a window manager and a tray host: the start-up
# check reads the sample mail, and screenshots of the window with its list,
# the new-mail pop-up and (after a second start in the tray) the tray icon
# with its count are saved under demo-output/ before the demo ends by
# itself. At the end it says where the screenshots are and how to start the
# program on your own desktop.
#   --no-build      skip the package check and the build
#   --server-only   start the server and the profile, print them, wait for Ctrl-C
#   --server-check  start both, check the server serves the sample mail, stop
# Environment: BUILD (build folder, default build when it is configured, else
# build-demo), VELTRANE (the program, default $BUILD/app/main/veltrane),
# DEMO_PORT / DEMO_TLS_PORT (the server's ports; by default the first free
# pair from 21110), DEMO_OUT (screenshot folder), DEMO_WAIT (seconds before
# the screenshots, default 10), JOBS (build jobs).
# Everything the demo starts is stopped again on exit or Ctrl-C; its
# temporary folder is removed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

build=yes mode=program
pids=()
for arg in "$@"; do
  case $arg in
    --no-build) build=no ;;
    --server-only) mode=server ;;
    --server-check) mode=check ;;
    -h|--help) sed -n '2,/^set /p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) echo "demo.sh: unknown argument $arg (try --help)" >&2; exit 2 ;;
  esac
done

# A developer's configured build is reused; otherwise one without the tests.
if [ -z "${BUILD:-}" ]; then
  if [ -f build/CMakeCache.txt ]; then BUILD=build; else BUILD=build-demo; fi
fi
VELTRANE=${VELTRANE:-$BUILD/app/main/veltrane}
case $VELTRANE in /*) ;; *) VELTRANE=$root/$VELTRANE ;; esac
WAIT=${DEMO_WAIT:-10}
POP3D=$root/tests/fixtures/pop3d/pop3d.sh
MAIL=$root/scripts/demo_mail

say() { printf '\033[1mdemo:\033[0m %s\n' "$*"; }
die() { printf 'demo.sh: %s\n' "$*" >&2; exit 1; }
# A sleep the signal traps can interrupt (a foreground sleep would hold them
# back until it ends).
pause() { sleep "$1" & pids+=($!); wait "$!" || true; }

# The build's output, one line at a time from standard input, into the log
# LOG; on the screen a line at every tenth of the steps, and at least once a
# minute while steps end (nothing when there is nothing to build).
build_progress() {
  local log=$1 line steps="" shown=-1 at=$SECONDS
  while IFS= read -r line; do
    printf '%s\n' "$line" >>"$log"
    # "[0/2] Re-checking globbed directories..." is no step of the build.
    [[ $line =~ ^\[([1-9][0-9]*)/([0-9]+)\] ]] || continue
    local n=${BASH_REMATCH[1]} m=${BASH_REMATCH[2]}
    # A build that configures itself again starts a count of its own.
    [ "$m" = "$steps" ] || shown=-1
    steps=$m
    if [ $((10 * n / m)) -gt "$shown" ] || [ $((SECONDS - at)) -ge 60 ]; then
      say "building: $n of $m steps done"
      shown=$((10 * n / m)) at=$SECONDS
    fi
  done
}

if [ $build = yes ]; then
  say "setting up: checking the Debian packages (scripts/setup.sh --demo)"
  bash scripts/setup.sh --demo
  mkdir -p "$BUILD"
  log=$BUILD/demo-build.log
  : >"$log"
  if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    say "configuring the build in $BUILD"
    cmake -S . -B "$BUILD" -G Ninja -DVELTRANE_TESTS=OFF >>"$log" 2>&1 ||
      { tail -n 30 "$log" >&2; die "configuring the build failed; its whole output is in $log"; }
  fi
  say "building the program in $BUILD with ${JOBS:-$(nproc)} jobs (a first build takes some minutes; its output goes to $log)"
  # The program pulls in its own libraries (the component among them); its
  # data is read from the source tree.
  if ! NINJA_STATUS='[%f/%t] ' cmake --build "$BUILD" -j "${JOBS:-$(nproc)}" --target veltrane 2>&1 |
    build_progress "$log"; then
    tail -n 30 "$log" >&2
    die "the build failed; its whole output is in $log"
  fi
  say "built: $VELTRANE"
fi
if [ $mode = program ] && [ ! -x "$VELTRANE" ]; then
  die "the program $VELTRANE is not built: this tree has no veltrane executable yet (set VELTRANE=... to name it, or run with --server-only)"
fi

# What a person does after the demo, told once everything it started is
# gone: where its pictures are, and how to run the program for real.
closing=""
own_desktop() {
  cat <<CLOSING
To use Veltrane with your own accounts, start it on your desktop with
  $VELTRANE
(it keeps its settings under ${XDG_CONFIG_HOME:-$HOME/.config}/ZKT and opens with the first-use window);
"Building by hand" in README.md says how to install it as a Debian package, with a menu entry.
CLOSING
}
tell_closing() {
  echo
  case $closing in
    display)
      echo "The demo is over: its server, its profile and its temporary folder are gone."
      ;;
    shots)
      echo "The screenshots are in $out:"
      local f
      for f in window:"the main window with the first account's sample mail" popup:"the new-mail pop-up" \
        tray-count-x4:"the tray icon with the count of new mail, four times larger" screen:"the whole virtual screen"; do
        [ -s "$out/${f%%:*}.png" ] && printf '  %-18s %s\n' "${f%%:*}.png" "${f#*:}"
      done
      echo "Nothing of the demo is left running: it stopped its program, server and virtual display and"
      echo "removed its temporary folder (Ctrl-C stops it at any moment)."
      ;;
  esac
  own_desktop
}

# The user's X authority stays reachable after HOME moves to the profile.
if [ -n "${DISPLAY:-}" ] && [ -z "${XAUTHORITY:-}" ] && [ -f "$HOME/.Xauthority" ]; then
  export XAUTHORITY=$HOME/.Xauthority
fi

# Under /tmp: the server's unprivileged processes must reach every parent.
PORT="" TLS_PORT=""  # chosen below; the clean-up may run before
work=$(mktemp -d /tmp/veltrane-demo.XXXXXX)
chmod 0755 "$work"
cleanup() {
  local status=$?
  trap - EXIT INT TERM
  # The newest first, each gone before the next: the program ends (and
  # saves) while its display is still there.
  local pid
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pid=${pids[$i]}
    kill -TERM "$pid" 2>/dev/null || continue
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
  done
  POP3D_PORT=$PORT POP3D_TLS_PORT=$TLS_PORT "$POP3D" stop "$work/pop3d" >/dev/null 2>&1 || true
  rm -rf "$work"
  if [ "$status" = 0 ] && [ -n "$closing" ]; then HOME=$user_home XDG_CONFIG_HOME=$user_config tell_closing; fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# ---- the server and its mailboxes -----------------------------------------
# Two neighbouring ports (plain, implicit TLS) that nothing listens on.
both_free() {
  python3 - "$1" "$2" <<'PY'
import socket, sys
held = []
try:
    for port in map(int, sys.argv[1:]):
        s = socket.socket()
        # As the server binds: a closed connection still waiting does not count.
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        s.bind(("127.0.0.1", port))
        s.listen()
        held.append(s)
except OSError:
    sys.exit(1)
PY
}
if [ -n "${DEMO_PORT:-}" ]; then
  PORT=$DEMO_PORT TLS_PORT=${DEMO_TLS_PORT:-$((DEMO_PORT + 1))}
  both_free "$PORT" "$TLS_PORT" ||
    die "port $PORT or $TLS_PORT on 127.0.0.1 is in use (DEMO_PORT / DEMO_TLS_PORT name them; unset DEMO_PORT to let the demo pick free ones)"
else
  PORT=21110
  until both_free "$PORT" "$((PORT + 1))"; do
    PORT=$((PORT + 2))
    [ "$PORT" -lt 21400 ] || die "no two free neighbouring ports from 21110 to 21400 on 127.0.0.1; name some with DEMO_PORT"
  done
  TLS_PORT=$((PORT + 1))
fi
say "the server: starting Dovecot on 127.0.0.1:$PORT with two mailboxes of sample mail"
POP3D_PORT=$PORT POP3D_TLS_PORT=$TLS_PORT POP3D_BOXES=2 "$POP3D" start "$work/pop3d" >/dev/null
seed() {  # seed BOX FILE...: delivered the Maildir way, through tmp/ and a rename
  local box=$1 md=$work/pop3d/home/$1/Maildir n=0 f name
  shift
  for f in "$@"; do
    n=$((n + 1))
    name=$((1765000000 + n)).demo$n.$box
    cp "$f" "$md/tmp/$name"
    chmod 0644 "$md/tmp/$name"
    mv "$md/tmp/$name" "$md/new/$name"
  done
}
seed box1 "$MAIL"/*.eml
seed box2 "$MAIL"/01-plain.eml "$MAIL"/08-utf8-subject.eml "$MAIL"/11-spam.eml

# STAT of one mailbox, as any POP3 client sees it.
pop3_stat() {
  local line
  exec 3<>"/dev/tcp/127.0.0.1/$PORT"
  IFS= read -r -t 5 line <&3
  printf 'USER %s\r\n' "$1" >&3; IFS= read -r -t 5 line <&3
  printf 'PASS %s\r\n' "$2" >&3; IFS= read -r -t 5 line <&3
  printf 'STAT\r\n' >&3; IFS= read -r -t 5 line <&3
  printf 'QUIT\r\n' >&3
  exec 3<&-
  printf '%s\n' "${line%$'\r'}"
}

# ---- the private profile --------------------------------------------------
user_home=$HOME user_config=${XDG_CONFIG_HOME:-}
export HOME=$work/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
export XDG_CACHE_HOME=$HOME/.cache XDG_STATE_HOME=$HOME/.local/state
unset VELTRANE_SOURCE_DIR
profile=$XDG_CONFIG_HOME/ZKT/Veltrane
mkdir -p "$profile" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME"
chmod 0700 "$HOME" "$XDG_CONFIG_HOME" "$profile"
account() {  # account N NAME LOGIN COLOUR COLOURINDEX SECURE PORT: the fields the Accounts page saves
  cat <<ACCOUNT
AcntEnabled$1=1
AcntName$1=$2
AcntServer$1=127.0.0.1
AcntSecure$1=$6
AcntPort$1=$7
AcntLoginID$1=$3
AcntPassword$1=pw-$3
AcntColour$1=$4
AcntColourIndex$1=$5
AcntClient$1=
AcntSound$1=
AcntSoundOn$1=1
ACCOUNT
}
{
  echo "# Settings of ZKT\\Veltrane"
  echo "[Settings]"
  echo "FirstUse=1"
  echo "AcntNum=2"
  account 1 "Demo Mailbox" box1 255 5 0 "$PORT"
  account 2 "Second Box" box2 16711680 1 1 "$TLS_PORT"
  echo "[Settings\\Options]"
  echo "RunStartUp=0"
  echo "EmailCheckStartUp=1"
  echo "StartUpDelay=2"
  echo "MinimizeStartUp=0"
  echo "UseInterval=1"
  echo "Minutes=30"
  echo "ShowEmailMsgBox=1"
  echo "ShowEmail=0"
  echo "MsgBoxTime=0"
  echo "PlaySound=1"
  echo "DefaultSound=$root/data/Sounds/NewMail.wav"
} >"$profile/settings.ini"
chmod 0600 "$profile/settings.ini"

# The second account reads its mail over TLS. Its server's certificate is
# trusted as a user trusts a private server: a bundle of the system's
# authorities and that certificate, named by SSL_CERT_FILE.
trust=$work/trust.pem
cat /etc/ssl/certs/ca-certificates.crt "$work/pop3d/ssl/cert.pem" >"$trust" 2>/dev/null ||
  cp "$work/pop3d/ssl/cert.pem" "$trust"
export SSL_CERT_FILE=$trust

stat1=$(pop3_stat box1 pw-box1)
stat2=$(pop3_stat box2 pw-box2)
say "mailbox box1 (password pw-box1): $stat1"
say "mailbox box2 (password pw-box2): $stat2"
say "profile: $profile/settings.ini"
say "Second Box reads box2 over TLS on port $TLS_PORT, trusting the server's certificate through SSL_CERT_FILE=$trust"

case $mode in
  check)
    [[ $stat1 == "+OK 12 "* ]] || die "box1 does not hold the 12 sample messages: $stat1"
    [[ $stat2 == "+OK 3 "* ]] || die "box2 does not hold its 3 sample messages: $stat2"
    say "server and profile are ready; stopping"
    exit 0
    ;;
  server)
    say "server running; start the program with HOME=$HOME XDG_CONFIG_HOME=$XDG_CONFIG_HOME SSL_CERT_FILE=$trust. Ctrl-C stops it."
    while :; do pause 3600; done
    ;;
esac

# ---- the program ----------------------------------------------------------
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  say "starting the program on your display: $VELTRANE"
  say "it checks the demo's two accounts; Quit in its tray menu ends it and the demo (Ctrl-C here stops both)"
  "$VELTRANE" &
  pids+=($!)
  wait "${pids[-1]}" || true
  closing=display
  exit 0
fi

out=${DEMO_OUT:-$root/demo-output/$(date +%Y%m%d-%H%M%S)}
mkdir -p "$out"
export XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=xcb
# The tray host here is trayer on the virtual display, not a desktop's tray
# service on the user's session bus.
unset DBUS_SESSION_BUS_ADDRESS
mkdir -p "$XDG_RUNTIME_DIR"
chmod 0700 "$XDG_RUNTIME_DIR"
say "the program: no display here, so on a virtual one (Xvfb) with a window manager and a tray host"
. "$root/tests/support/virtual_desktop.sh"
start_virtual_display "$work" 1280x900 || die "no virtual display"
# A window manager places and decorates the windows and takes a minimised
# window away, as on a desktop.
start_window_manager "$work"
trayer --edge top --align right --widthtype request --height 28 --transparent false --tint 0xdddddd \
  >"$work/trayer.log" 2>&1 &
pids+=($!)
pause 1
start_program() {  # start_program LOG: the program in the background, its pid in $program
  "$VELTRANE" >>"$1" 2>&1 &
  program=$!
  pids+=($program)
  say "waiting $WAIT seconds for the window, the tray icon and the start-up check"
  pause "$WAIT"
  kill -0 "$program" 2>/dev/null || die "the program ended early; see $1"
}
stop_program() {
  kill -TERM "$program" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
}
# The first window whose title is name (exact) or starts with name (prefix).
# (awk reads the whole tree: a reader that stops early breaks the pipe.)
window_of() { xwininfo -root -tree 2>/dev/null | awk -v name="$1" '!f && index($0, "\"" name "\"") { print $1; f = 1 }'; }
window_starting() { xwininfo -root -tree 2>/dev/null | awk -v name="$1" '!f && index($0, "\"" name) { print $1; f = 1 }'; }
shoot_window() {  # shoot_window WINDOW NAME: the window as the screen shows it, with what lies on it
  local at
  at=$(xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
                               /Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h "+" x "+" y }')
  convert "$out/screen.png" -crop "$at" +repage "$out/$2.png"
}
shoot_tray() {  # shoot_tray NAME: the tray host, and four times larger (the icon is 24 pixels)
  local tray
  tray=$(window_of panel)
  if [ -n "$tray" ]; then
    import -window "$tray" "$out/$1.png"
    convert "$out/$1.png" -filter point -resize 400% "$out/$1-x4.png"
  else
    say "no tray host window found"
  fi
}

# The window with the sample mail of the first account and the pop-up.
say "starting the program on the virtual display with the demo's profile"
start_program "$out/veltrane.log"
import -window root "$out/screen.png"
win=$(window_of Veltrane)
if [ -n "$win" ]; then shoot_window "$win" window; else say "no window named Veltrane found"; fi
popup=$(window_starting "Veltrane:")
if [ -n "$popup" ]; then shoot_window "$popup" popup; else say "no new-mail pop-up found"; fi
shoot_tray tray

# The tray shows a count while the window is in the tray: a second start,
# minimised, checks again and the icon carries the first account's count.
stop_program
say "starting the program again, minimised, for the tray icon with its count"
sed -i 's/^MinimizeStartUp=0$/MinimizeStartUp=1/' "$profile/settings.ini"
start_program "$out/veltrane.log"
import -window root "$out/screen-tray.png"
shoot_tray tray-count
say "screenshots taken; stopping the program, the server and the virtual display"
closing=shots
