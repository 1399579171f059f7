#!/usr/bin/env bash
# Builds the station and packs it as a Debian package: build/qintarsoft_<version>_<arch>.deb.
# Install it with: apt install ./build/qintarsoft_<version>_<arch>.deb
# Usage: scripts/package.sh [build-dir]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"

bash "$here/scripts/build.sh" "$build"
cpack --config "$build/CPackConfig.cmake" -B "$build"
rm -rf "$build/_CPack_Packages"
ls "$build"/qintarsoft_*.deb
