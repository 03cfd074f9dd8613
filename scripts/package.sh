#!/usr/bin/env bash
# Makes the Debian package from the plain build (build/, made by
# scripts/test.sh or by hand) into build/package/.
#   scripts/package.sh           make the package
#   scripts/package.sh --check   make it, install it with its dependencies,
#                                check the menu entry and a start, remove it
# --check changes the machine's installed packages: meant for CI machines.
set -euo pipefail
cd "$(dirname "$0")/.."

[ -f build/CMakeCache.txt ] || { echo "no build/: run scripts/test.sh first" >&2; exit 1; }
cmake --build build -j "$(nproc)" >/dev/null
rm -rf build/package
(cd build && cpack -G DEB -B package >/dev/null)
deb=$(ls build/package/veltrane_*.deb)
echo "package: $deb"
[ "${1:-}" = "--check" ] || exit 0

sudo=""
[ "$(id -u)" = 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -q --no-install-recommends "$PWD/$deb" >/dev/null
fail() { echo "package check: $*" >&2; $sudo apt-get remove -y -q veltrane >/dev/null || true; exit 1; }

for f in /usr/bin/veltrane /usr/share/applications/veltrane.desktop /usr/lib/veltrane/libqelpop3.so \
         /usr/share/veltrane/help /usr/share/icons/hicolor/scalable/apps/veltrane.svg; do
  [ -e "$f" ] || fail "$f missing"
done
grep -qx 'Exec=veltrane' /usr/share/applications/veltrane.desktop || fail "the menu entry does not start veltrane"
[ -e /usr/share/wine/fonts/tahoma.ttf ] || fail "the face the windows are drawn in was not installed with the package"
# Every library the program needs resolves from the installed packages.
if ldd /usr/bin/veltrane | grep -q 'not found'; then fail "$(ldd /usr/bin/veltrane | grep 'not found')"; fi

# The installed program starts on a private profile and keeps running.
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
mkdir -m 0700 "$profile/run"
set +e
(cd "$profile" && HOME="$profile" XDG_CONFIG_HOME="$profile/config" XDG_RUNTIME_DIR="$profile/run" \
  TMPDIR="$profile" QT_QPA_PLATFORM=offscreen timeout 5 /usr/bin/veltrane >"$profile/out.log" 2>&1)
status=$?
set -e
[ $status = 124 ] || { cat "$profile/out.log" >&2; fail "veltrane ended with status $status instead of running"; }
[ -f "$profile/config/ZKT/Veltrane/settings.ini" ] || fail "the first start wrote no settings"

$sudo apt-get remove -y -q veltrane >/dev/null
for f in /usr/bin/veltrane /usr/share/applications/veltrane.desktop /usr/lib/veltrane /usr/share/veltrane; do
  [ ! -e "$f" ] || { echo "package check: $f left behind by the removal" >&2; exit 1; }
done
echo "package check: installed, started, removed"
