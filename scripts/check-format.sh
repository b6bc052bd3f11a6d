#!/usr/bin/env bash
# Fails, naming the files, when src/ or tests/ are not as clang-format writes them.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'fuzz/*.cpp' 'fuzz/*.h' |
  xargs -0 clang-format --dry-run -Werror
