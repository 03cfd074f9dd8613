#!/usr/bin/env bash
# check_install.sh BUILD BINDIR LIBDIR DATADIR PROGRAM|-
# Installs BUILD into a fresh prefix and checks what lands there.
set -u
build=$1 bindir=$2 libdir=$3 datadir=$4 program=$5
prefix=$(mktemp -d "${TMPDIR:-/tmp}/veltrane-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
cmake --install "$build" --prefix "$prefix" --component install_probe >/dev/null ||
  { echo "FAIL: probe install"; exit 1; }

lib=$prefix/$libdir/veltrane
data=$prefix/$datadir/veltrane
expect=(
  "$lib/libqelpop3.so" "$lib/libplatform_com.so"
  "$data/icons/TrayNormal.svg" "$data/icons/MailSpin8.svg" "$data/Sounds/Error.wav"
  "$data/help/index.html" "$data/help/help.css"
  "$prefix/$datadir/applications/veltrane.desktop"
  "$prefix/$datadir/icons/hicolor/scalable/apps/veltrane.svg"
)
for topic in 100 130 140 150 210 220 230 240 250 260; do expect+=("$data/help/$topic.html"); done
binaries=("$prefix/$bindir/veltrane_install_probe")
if [ "$program" != - ]; then binaries+=("$prefix/$bindir/$program"); fi
for f in "${expect[@]}" "${binaries[@]}"; do [ -f "$f" ] || fail "missing ${f#"$prefix"/}"; done
[ "$(find "$data/icons" -name '*.svg' | wc -l)" -ge 100 ] || fail "icons missing from the data folder"

runpath() { readelf -d "$1" 2>/dev/null | sed -n 's/.*R\(UN\)\{0,1\}PATH.*\[\(.*\)\]/\2/p'; }
for f in "${binaries[@]}"; do
  [ "$(runpath "$f")" = "\$ORIGIN/../$libdir/veltrane" ] || fail "RUNPATH of ${f##*/}: '$(runpath "$f")'"
done
for f in "$lib/libqelpop3.so" "$lib/libplatform_com.so"; do
  [ "$(runpath "$f")" = "\$ORIGIN" ] || fail "RUNPATH of ${f##*/}: '$(runpath "$f")'"
done

# Nothing from the test environment may help: no source-tree variable, no
# library path.
out=$(env -i HOME="$prefix" PATH=/usr/bin:/bin "$prefix/$bindir/veltrane_install_probe" 2>&1)
rc=$?
echo "$out"
[ $rc = 0 ] || fail "the installed probe could not create the component (status $rc)"
grep -qx "data $data" <<<"$out" || fail "the installed probe did not use $data"
grep -qx "libraries $lib" <<<"$out" || fail "the installed probe did not find $lib"

if [ $failures = 0 ]; then echo "install tree complete under $prefix"; fi
exit $((failures > 0))
