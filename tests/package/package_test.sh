#!/usr/bin/env bash
# cpack builds the Debian package into a scratch directory: named qintarsoft_<version>_<arch>.deb, it
# holds the programs, the menu entry and the icon, and its Depends (worked out by shlibdeps) name the
# Qt libraries the station links.
# Usage: package_test.sh <cpack> <build-dir> <version>
set -euo pipefail
cpack="$1" build="$2" version="$3"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log" >&2; fail "cpack"; }
deb="$out/qintarsoft_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack wrote: $(ls "$out")"

info="$(dpkg-deb --info "$deb")"
echo "$info" | grep -q "^ Package: qintarsoft$" || fail "package name"
echo "$info" | grep -q "^ Version: $version$" || fail "package version"
depends="$(dpkg-deb --field "$deb" Depends)"
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 qt6-qpa-plugins; do
  echo "$depends" | grep -q "\b$library\b" || fail "Depends lacks $library: $depends"
done

contents="$(dpkg-deb --contents "$deb")"
for file in ./usr/bin/qintarsoft ./usr/bin/qintar-devsim ./usr/bin/qintar-fit ./usr/share/applications/org.qintarsoft.QintarSoft.desktop \
            ./usr/share/icons/hicolor/scalable/apps/qintarsoft.svg ./usr/share/icons/hicolor/48x48/apps/qintarsoft.png \
            ./usr/share/metainfo/org.qintarsoft.QintarSoft.metainfo.xml ./usr/share/man/man1/qintarsoft.1.gz; do
  echo "$contents" | grep -q " $file$" || fail "the package lacks $file"
done
echo "package: $(basename "$deb") with Depends: $depends"
