#!/usr/bin/env bash
# An install into a scratch DESTDIR holds the programs, the menu entry, the icon in every size, the
# metainfo and the man pages; the menu entry and the metainfo pass their validators; the installed
# programs print their version and refuse an unknown option.
# Usage: install_test.sh <cmake> <build-dir> <version>
set -euo pipefail
cmake="$1" build="$2" version="$3"
dest="$(mktemp -d)"
trap 'rm -rf "$dest"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$dest" "$cmake" --install "$build" --prefix /usr >/dev/null
root="$dest/usr"
desktop="$root/share/applications/org.qintarsoft.QintarSoft.desktop"
metainfo="$root/share/metainfo/org.qintarsoft.QintarSoft.metainfo.xml"

for file in bin/qintarsoft bin/qintar-devsim bin/qintar-fit share/icons/hicolor/scalable/apps/qintarsoft.svg \
            share/man/man1/qintarsoft.1.gz share/man/man1/qintar-devsim.1.gz share/man/man1/qintar-fit.1.gz; do
  [ -f "$root/$file" ] || fail "the install lacks $file"
done
for program in qintarsoft qintar-devsim qintar-fit; do
  [ -x "$root/bin/$program" ] || fail "$program is not executable"
  gzip -dc "$root/share/man/man1/$program.1.gz" | grep -q "^\.TH ${program^^} 1" || fail "$program.1.gz is no man page"
done
for size in 16 24 32 48 64 128 256; do
  icon="$root/share/icons/hicolor/${size}x${size}/apps/qintarsoft.png"
  file "$icon" | grep -q "PNG image data, $size x $size" || fail "no $size x $size PNG icon: $(file "$icon")"
done

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"
grep -qx 'Categories=Science;Engineering;Qt;' "$desktop" || fail "the menu entry's categories"
grep -qx 'Icon=qintarsoft' "$desktop" || fail "the menu entry's icon"
# Started from the menu, the station works in its own folder below the documents, never in the home folder.
grep -qx 'Exec=qintarsoft --documents-folder' "$desktop" || fail "the menu entry's command"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"

# Neither the version nor a wrong option needs a window system, as on a terminal without a display.
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
out="$("${headless[@]}" "$root/bin/qintarsoft" --version)" || fail "qintarsoft --version exits $?"
[ "$out" = "QintarSoft $version" ] || fail "qintarsoft --version says '$out'"
out="$("${headless[@]}" "$root/bin/qintar-devsim" --version)" || fail "qintar-devsim --version exits $?"
[ "$out" = "qintar-devsim $version" ] || fail "qintar-devsim --version says '$out'"
out="$("${headless[@]}" "$root/bin/qintar-fit" --version)" || fail "qintar-fit --version exits $?"
[ "$out" = "qintar-fit $version" ] || fail "qintar-fit --version says '$out'"
for program in qintarsoft qintar-devsim qintar-fit; do
  if err="$("${headless[@]}" "$root/bin/$program" --no-such-option 2>&1 >/dev/null)"; then
    fail "$program accepts an unknown option"
  fi
  echo "$err" | grep -q "Unknown option 'no-such-option'" || fail "$program's message for an unknown option: $err"
done
echo "install: all files in place and valid"
