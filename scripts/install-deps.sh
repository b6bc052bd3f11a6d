#!/usr/bin/env bash
# Installs what building, running and testing ツバクロ needs on Debian 12, and
# nothing that is already there. Run as root (or through sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # Reads .xlsx, .xlsm and .ods workbooks (zip archives of XML) without the office suite.
  libzip-dev libexpat1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # The benchmarks take the converter's peak memory with GNU time.
  time
  fonts-ipafont-gothic
  # Reads the transfer list's PDF in the tests (pdftotext, pdfinfo, pdftoppm), and
  # turns its first page into the manual's picture (scripts/make-manual-pictures.sh).
  poppler-utils
  # Writes the sample company and converts the published bank list (scripts/).
  python3
  xvfb xauth
  # Reads .xls workbooks, and any other workbook the program cannot read itself.
  libreoffice-calc-nogui
  # The fuzzers, and the checks of the installed files and the Debian package.
  clang libclang-rt-14-dev
  dpkg-dev file desktop-file-utils appstream
)
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
