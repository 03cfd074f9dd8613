#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need:
#   setup.sh          everything (build, tests, benchmarks, sanitizers)
#   setup.sh --demo   what scripts/demo.sh builds and runs
# Idempotent and non-interactive: when every package is there it only asks
# dpkg; the package lists are fetched only when something must be installed.
set -euo pipefail

# The program, its build and the demo's server and virtual desktop.
packages=(
  build-essential cmake ninja-build pkg-config python3
  libglib2.0-dev libssl-dev openssl ca-certificates
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev qt6-qpa-plugins
  libcanberra-dev xdg-utils
  dovecot-pop3d
  xvfb xauth x11-utils trayer openbox imagemagick fonts-dejavu-core fonts-wine
)
if [ "${1:-}" != --demo ]; then
  packages+=(
    git clang libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev libgmime-3.0-dev
    xdotool time curl
  )
fi

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
echo "setup.sh: installing ${missing[*]}"
# The package lists are fetched only when the ones at hand cannot serve.
install() { $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"; }
install || { $sudo apt-get update -q && install; }
