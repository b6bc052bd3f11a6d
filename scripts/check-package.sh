#!/usr/bin/env bash
# Installs a build into a staging folder, makes the Debian package from it, and
# checks both as a user's machine will see them: the desktop entry and the
# AppStream metainfo validate, the package's dependencies were computed from its
# binaries, the office suite is only recommended, and every file a user needs
# is inside.    scripts/check-package.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
stage=$build/stage
fail() { echo "package check: $*" >&2; exit 1; }

rm -rf "$stage"
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
desktop-file-validate "$stage"/usr/share/applications/*.desktop
appstreamcli validate --no-net --pedantic "$stage"/usr/share/metainfo/*.metainfo.xml >/dev/null ||
  appstreamcli validate --no-net "$stage"/usr/share/metainfo/*.metainfo.xml

rm -f "$build"/tsubakuro_*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log"; fail "cpack failed"; }
deb=$(ls "$build"/tsubakuro_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')

# dpkg-shlibdeps found the Qt library the converter links; nobody listed it.
[[ $depends == *libqt6core6* ]] || fail "Depends was not computed from the binaries: $depends"
[[ $depends == *libzip* ]] || fail "the workbook reader's zip library is not a dependency: $depends"
[[ $depends != *libreoffice* ]] || fail "the office suite must not be required: $depends"
[[ $recommends == *libreoffice* ]] || fail "the office suite is not recommended: $recommends"

expected=(
  usr/bin/tsubakuro-convert usr/bin/tsubakuro-launch
  usr/share/applications/io.github.tsubakuro.Tsubakuro.desktop
  usr/share/metainfo/io.github.tsubakuro.Tsubakuro.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/tsubakuro.svg
  usr/share/tsubakuro/banks.tsv usr/share/tsubakuro/banks-license.txt
)
for size in 16 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/tsubakuro.png")
done
if [ -f src/gui/app/main.cpp ]; then
  expected+=(usr/bin/tsubakuro)
  [[ $depends == *libqt6widgets6* ]] || fail "the desktop program's Qt Widgets is missing: $depends"
fi
if [ -f docs/manual.html ]; then
  expected+=(usr/share/doc/tsubakuro/manual.html)
  # The installed manual shows its pictures from beside it.
  for picture in $(grep -o 'src="images/[^"]*"' docs/manual.html | sed 's/^src="//; s/"$//'); do
    expected+=("usr/share/doc/tsubakuro/$picture")
  done
fi
for file in "${expected[@]}"; do
  grep -qx "./$file" <<<"$contents" || fail "$file is not in $deb"
done
unpacked=$build/deb-contents
rm -rf "$unpacked"
dpkg-deb -x "$deb" "$unpacked"
for binary in "$unpacked"/usr/bin/*; do
  if file "$binary" | grep -q 'ELF.*not stripped'; then fail "$(basename "$binary") is not stripped"; fi
done
echo "package check: $(basename "$deb") ($(du -k "$deb" | cut -f1) KB) Depends: $depends"
