#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as $1).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
# Let ccache reuse work across clones of the project and across the
# precompiled Qt headers.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(pwd)}
# Without the folder in the hash, every clone and build folder shares the cache
# (only the debug info's compile folder may then name another clone).
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}
shift || true
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir"
