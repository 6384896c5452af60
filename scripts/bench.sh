#!/usr/bin/env bash
# Builds in release mode and runs the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
QG_BUILD_DIR=build-release QG_BUILD_TYPE=Release scripts/build.sh
build-release/bench/qg_bench --benchmark_counters_tabular=true "$@"
build-release/bench/qg_gui_bench --benchmark_counters_tabular=true "$@"
