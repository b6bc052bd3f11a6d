#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each of them
# for SECONDS (default: 50 seconds shared by all), keeping what they learn in
# build-fuzz/corpus/.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     e.g. scripts/fuzz.sh 600 cp932_fuzzer
# A crash stops the script with the failing input saved in build-fuzz/crashes/;
# replay it with build-fuzz/fuzz/<target> <file>, and make it a regular test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-}
shift || true

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTSUBAKURO_BUILD_FUZZ=ON -DTSUBAKURO_BUILD_TESTS=OFF -DTSUBAKURO_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzzers

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for binary in build-fuzz/fuzz/*_fuzzer; do targets+=("$(basename "$binary")"); done
fi
[ -n "$seconds" ] || seconds=$((50 / ${#targets[@]} > 0 ? 50 / ${#targets[@]} : 1))

# Where a fuzzer starts: the sample company's and the golden tests' files are
# real examples of every input.
seed_files() {
  local golden=tests/data/engine
  case $1 in
    cp932_fuzzer | payment_row_fuzzer | quick_row_fuzzer) echo examples/*.csv $golden/*/in/*.csv $golden/*/in/*.txt ;;
    write_notation_fuzzer) echo examples/tbk.ini examples/*.cfg $golden/*/in/*.cfg ;;
    system_settings_fuzzer) echo examples/tbk.ini $golden/*/in/tbk.ini ;;
    company_settings_fuzzer) echo examples/*.cfg $golden/*/in/*.cfg ;;
    zengin_record_fuzzer) echo $golden/*/expected/*.dat ;;
    transfer_list_fuzzer | debit_results_fuzzer)
      echo $golden/*/expected/*.dat tests/data/cli/*/*.DAT tests/data/cli/cases/*/expected/*.DAT ;;
    log_entry_fuzzer) echo $golden/*/expected/*.log ;;
    workbook_reader_fuzzer) echo tests/data/conversion/*.fods ;;
  esac
}

# The settings fuzzers save a file every run; a folder in memory spares the disk.
[ -w /dev/shm ] && export TMPDIR=/dev/shm
mkdir -p build-fuzz/crashes
for target in "${targets[@]}"; do
  # Absolute: the settings fuzzers work in a scratch folder of their own.
  corpus=$(pwd)/build-fuzz/corpus/$target
  mkdir -p "$corpus"
  for seed in $(seed_files "$target"); do
    if [ -f "$seed" ]; then cp "$seed" "$corpus/seed-$(md5sum <"$seed" | cut -c1-16)"; fi
  done
  log=build-fuzz/$target.log
  if ! "build-fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$(pwd)/build-fuzz/crashes/$target-" "$corpus" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "$target found a fault; the input is in build-fuzz/crashes/." >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "$target: $runs runs, $rate exec/s, corpus $(ls "$corpus" | wc -l) inputs"
done
