#!/usr/bin/env bash
# Installs every Debian package that building, testing and running the station needs.
# Packages already present are left alone, so a second run costs a few seconds.
# Usage: scripts/install-deps.sh [extra-package...]   (extra packages that one script alone needs)
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-multimedia-dev
  libqt6opengl6-dev libgl-dev libxkbcommon-dev
  qt6-qpa-plugins libqt6multimedia6 libqt6serialport6
  libgtest-dev libgmock-dev libbenchmark-dev libeigen3-dev
  xvfb xauth x11-utils imagemagick fonts-dejavu-core
  clang-format ccache
  python3 python3-ezdxf poppler-utils
  desktop-file-utils appstream dpkg-dev file
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages (${missing[*]}); run as root" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
