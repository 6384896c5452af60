#!/usr/bin/env bash
# Builds the reader fuzzer with clang, AddressSanitizer and UndefinedBehavior-
# Sanitizer (scripts/build-sanitized.sh), makes the seed corpus and runs it
# for the given seconds (600).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
scripts/setup.sh
dir="${QG_ASAN_DIR:-build-asan}"
scripts/build-sanitized.sh reader_fuzzer makeseeds
mkdir -p fuzz/corpus fuzz/artifacts
"$dir/fuzz/makeseeds" fuzz/corpus
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$dir/fuzz/reader_fuzzer" fuzz/corpus -max_total_time="$seconds" -rss_limit_mb=2048 \
    -malloc_limit_mb=1024 -max_len=400000 -artifact_prefix=fuzz/artifacts/ -print_final_stats=1
