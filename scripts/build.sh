#!/usr/bin/env bash
# Configures and builds into build/ (or $QG_BUILD_DIR). QG_WERROR=ON makes
# warnings errors.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache keeps compiled objects between builds and between checkouts.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-true}"
dir="${QG_BUILD_DIR:-build}"
cmake -S . -B "$dir" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE="${QG_BUILD_TYPE:-RelWithDebInfo}" \
    ${QG_WERROR:+-DQG_WERROR=$QG_WERROR} >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
