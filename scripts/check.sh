#!/usr/bin/env bash
# The quick loop: builds without the benchmarks into build-quick/ and runs every
# test that needs no office suite (those labelled "office" are left out), after
# checking the formatting of src/ and tests/. Extra arguments go to ctest, e.g.
#   scripts/check.sh -R Golden
# The full command, with the office suite, the sanitizers, the fuzzers and the
# package, is scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/check-format.sh
scripts/build.sh build-quick -DTSUBAKURO_BUILD_BENCH=OFF
ctest --test-dir build-quick --output-on-failure --timeout 300 -j2 -LE office "$@"
