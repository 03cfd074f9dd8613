#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
# Idempotent and non-interactive; safe to run on every test run.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev libgmime-3.0-dev
  libglib2.0-dev libssl-dev openssl ca-certificates
  qt6-base-dev qt6-base-dev-tools libqt6svg6 libqt6svg6-dev qt6-qpa-plugins
  libcanberra-dev xdg-utils
  dovecot-pop3d
  xvfb xauth x11-utils trayer openbox xdotool imagemagick fonts-dejavu-core fonts-wine
  python3 time curl
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
[ "$(id -u)" = 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# Packages start their services at install on a systemd host; the tests run
# their own instance, so keep the system one from being started.
if [ ! -e /usr/sbin/policy-rc.d ]; then
  printf '#!/bin/sh\nexit 101\n' | $sudo tee /usr/sbin/policy-rc.d >/dev/null
  $sudo chmod 0755 /usr/sbin/policy-rc.d
  trap '$sudo rm -f /usr/sbin/policy-rc.d' EXIT
fi
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
