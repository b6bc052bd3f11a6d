#!/usr/bin/env bash
# Remakes docs/images/*.png, the manual's pictures: the program's windows as a
# user meets them on the sample company, taken by build/tsubakuro-manual-pictures
# under a virtual display, and the transfer list's first page when the converter
# prints one. Run it after changing a window or the sample; commit what it writes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build_dir=${TSUBAKURO_BUILD_DIR:-$root/build}
images=$root/docs/images

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  scripts/build.sh "$build_dir"
else
  cmake --build "$build_dir" --target tsubakuro-manual-pictures tsubakuro-convert
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
work=$scratch/work
made=$scratch/images
mkdir -p "$work" "$made"
# The folder scripts/run.sh seeds on a first start.
cp "$root"/examples/tbk.ini "$root"/examples/tsubakuro.ini "$root"/examples/*.cfg \
  "$root"/examples/*.csv "$work"/
# The lists' dates show in the status bar: the same on every run of the script.
touch -d '2026-04-20 10:00' "$work"/*.csv

# A screen as large as an office one, so no window is squeezed; without Xvfb the
# offscreen platform draws the same widgets.
cd "$work"
if command -v xvfb-run >/dev/null; then
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1200x24" \
    "$build_dir/tsubakuro-manual-pictures" "$made"
else
  echo "xvfb-run がないため、画面なし (offscreen) で撮ります。" >&2
  QT_QPA_PLATFORM=offscreen "$build_dir/tsubakuro-manual-pictures" "$made"
fi

# The transfer list is a PDF the converter prints from the bank file just written.
convert=$build_dir/tsubakuro-convert
convert_help=$("$convert" --help 2>&1 || true)
if grep -q -- '--print-list' <<<"$convert_help"; then
  "$convert" --print-list "$scratch/transfer-list.pdf" FURIKOMI.DAT
  pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$scratch/transfer-list.pdf" "$made/transfer-list"
  echo transfer-list.png
else
  echo "tsubakuro-convert に --print-list がないため、振込一覧表の画像は作りません。" >&2
fi

# Replaced whole, so a picture no longer taken does not linger.
mkdir -p "$images"
rm -f "$images"/*.png
cp "$made"/*.png "$images"/
