#!/usr/bin/env bash
# Peak memory and time of tsubakuro-convert on large payment lists of the sample
# company: bench/measure-memory.sh [ROWS...] (default: 100000 1000000).
# Needs a build (scripts/build.sh build), python3 and GNU time (/usr/bin/time).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
[ $# -gt 0 ] || set -- 100000 1000000

for rows in "$@"; do
  folder=$(mktemp -d)
  cp examples/tbk.ini examples/*.cfg "$folder"/
  python3 bench/make-payment-list.py "$rows" "$folder/振込データ.csv"
  status=0
  /usr/bin/time -v "$root/build/tsubakuro-convert" --dir "$folder" \
    >"$folder/stdout.txt" 2>"$folder/time.txt" || status=$?
  peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$folder/time.txt")
  elapsed=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$folder/time.txt")
  size=$(stat -c %s "$folder/振込データ.csv")
  echo "$rows rows ($((size / 1024 / 1024)) MiB): peak RSS $((peak_kb / 1024)) MiB," \
       "wall time $elapsed, exit status $status"
  rm -rf "$folder"
done
