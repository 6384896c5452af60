#!/usr/bin/env bash
# Configures and builds with clang, AddressSanitizer and UndefinedBehavior-
# Sanitizer into build-asan/ (or $QG_ASAN_DIR): the tests, the editor and the
# fuzz targets, no benchmarks. Builds the given targets, or all of them.
# QG_WERROR=ON makes warnings errors.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache keeps compiled objects between builds and between checkouts.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-true}"
dir="${QG_ASAN_DIR:-build-asan}"
# -O1 keeps the stacks readable and the tests quick; Debug keeps Qt's asserts.
cmake -S . -B "$dir" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1" \
    -DCMAKE_CXX_COMPILER=clang++ -DQG_SANITIZE=ON -DQG_FUZZ=ON -DQG_BUILD_BENCH=OFF \
    ${QG_WERROR:+-DQG_WERROR=$QG_WERROR} >/dev/null
targets=()
for t in "$@"; do
    targets+=(--target "$t")
done
cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"
