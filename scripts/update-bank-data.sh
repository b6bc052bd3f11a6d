#!/usr/bin/env bash
# Refreshes data/banks.tsv, the bank and branch list the conversion checks codes
# against, from the npm package zengin-code (MIT; its licence goes beside the
# list as data/banks-license.txt).
#
#   scripts/update-bank-data.sh              the newest version of the package
#   scripts/update-bank-data.sh 1.0.0-p20260824   that version
#   scripts/update-bank-data.sh --same       the version the shipped list names
#   scripts/update-bank-data.sh --check      rebuilds that version elsewhere and
#                                            fails when it differs from the list
#
# Only this script reaches the network (through npm); the program never does.
set -euo pipefail
cd "$(dirname "$0")/.."

list=data/banks.tsv
license=data/banks-license.txt
recorded_version() { head -n 1 "$list" | cut -f 2; }

check=false
case "${1:-}" in
  "") spec=zengin-code ;;
  --same) spec="zengin-code@$(recorded_version)" ;;
  --check) spec="zengin-code@$(recorded_version)"; check=true ;;
  -*) echo "usage: $0 [VERSION | --same | --check]" >&2; exit 2 ;;
  *) spec="zengin-code@$1" ;;
esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$spec" >/dev/null)
tar -xzf "$work"/zengin-code-*.tgz -C "$work"
version=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["version"])' \
  "$work/package/package.json")
date_option=()
# A version without its "pYYYYMMDD" part takes the date the registry published it.
if ! [[ $version =~ p[0-9]{8} ]]; then
  published=$(npm view "zengin-code@$version" "time[$version]" 2>/dev/null || true)
  date_option=(--date "${published:0:10}")
fi
python3 scripts/convert-bank-data.py "${date_option[@]}" "$work/package" "$work/banks.tsv"

if $check; then
  if cmp -s "$work/banks.tsv" "$list"; then
    echo "$list is zengin-code $version as converted now."
    exit 0
  fi
  echo "$list differs from zengin-code $version as converted now." >&2
  exit 1
fi
mv "$work/banks.tsv" "$list"
cp "$work/package/LICENSE.txt" "$license"
echo "$list: zengin-code $version, $(grep -c -E '^[0-9]{4}'$'\t' "$list") banks," \
  "$(grep -c -E '^[0-9]{3}'$'\t' "$list") branches, $(stat -c %s "$list") bytes."
