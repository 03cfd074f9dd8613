#!/usr/bin/env bash
# Makes the Debian packages from the plain build (build/, made by
# scripts/test.sh or by hand) into build/package/: veltrane (the program, its
# libraries and data) and veltrane-dev (the component's headers and
# qelpop3.pc).
#   scripts/package.sh           make the packages
#   scripts/package.sh --check   make them, install them with their dependencies,
#                                check the menu entry, a start and a build
#                                against the component, remove them
# --check changes the machine's installed packages: meant for CI machines.
set -euo pipefail
cd "$(dirname "$0")/.."

[ -f build/CMakeCache.txt ] || { echo "no build/: run scripts/test.sh first" >&2; exit 1; }
cmake --build build -j "$(nproc)" >/dev/null
rm -rf build/package
(cd build && cpack -G DEB -B package >/dev/null)
deb=$(ls build/package/veltrane_*.deb)
dev=$(ls build/package/veltrane-dev_*.deb)
echo "packages: $deb $dev"
[ "${1:-}" = "--check" ] || exit 0

# What each package holds: headers and the .pc file only in the -dev one.
fail_early() { echo "package check: $*" >&2; exit 1; }
program_files=$(dpkg-deb -c "$deb" | awk '{print $6}')
dev_files=$(dpkg-deb -c "$dev" | awk '{print $6}')
! grep -Eq '^\./usr/include/|\.pc$' <<<"$program_files" || fail_early "$deb holds development files"
for f in ./usr/include/qelpop3/qelpop3.h ./usr/include/platform/com/com.h ./usr/lib/pkgconfig/qelpop3.pc; do
  grep -qx "$f" <<<"$dev_files" || fail_early "$dev lacks ${f#.}"
done
! grep -Eq '^\./usr/(bin|share)/|\.so$' <<<"$dev_files" || fail_early "$dev holds what the program package has"

sudo=""
[ "$(id -u)" = 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -q --no-install-recommends "$PWD/$deb" "$PWD/$dev" >/dev/null
fail() { echo "package check: $*" >&2; $sudo apt-get remove -y -q veltrane veltrane-dev >/dev/null || true; exit 1; }

for f in /usr/bin/veltrane /usr/share/applications/veltrane.desktop /usr/lib/veltrane/libqelpop3.so \
         /usr/share/veltrane/help /usr/share/icons/hicolor/scalable/apps/veltrane.svg; do
  [ -e "$f" ] || fail "$f missing"
done
grep -qx 'Exec=veltrane' /usr/share/applications/veltrane.desktop || fail "the menu entry does not start veltrane"
[ -e /usr/share/wine/fonts/tahoma.ttf ] || fail "the face the windows are drawn in was not installed with the package"
# Every library the program needs resolves from the installed packages.
if ldd /usr/bin/veltrane | grep -q 'not found'; then fail "$(ldd /usr/bin/veltrane | grep 'not found')"; fi

# A program builds against the installed component through pkg-config alone.
probe=$(mktemp -d)
printf '#include <qelpop3/qelpop3.h>\nint main() { return 0; }\n' >"$probe/probe.cpp"
c++ -std=c++20 "$probe/probe.cpp" $(pkg-config --cflags --libs qelpop3) -o "$probe/probe" ||
  { rm -rf "$probe"; fail "nothing builds against the installed component"; }
[ -f "$(pkg-config --variable=qelpop3_library qelpop3)" ] || { rm -rf "$probe"; fail "qelpop3.pc names no library"; }
rm -rf "$probe"

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

$sudo apt-get remove -y -q veltrane-dev >/dev/null
for f in /usr/include/qelpop3 /usr/include/platform /usr/lib/pkgconfig/qelpop3.pc; do
  [ ! -e "$f" ] || fail "$f left behind by the removal of veltrane-dev"
done
[ -e /usr/bin/veltrane ] || fail "removing veltrane-dev removed the program"
$sudo apt-get remove -y -q veltrane >/dev/null
for f in /usr/bin/veltrane /usr/share/applications/veltrane.desktop /usr/lib/veltrane /usr/share/veltrane; do
  [ ! -e "$f" ] || { echo "package check: $f left behind by the removal" >&2; exit 1; }
done
echo "package check: installed, started, removed"
