#!/usr/bin/env bash
# Builds the reader fuzzer with clang, AddressSanitizer and UndefinedBehavior-
# Sanitizer (scripts/build-sanitized.sh, in build-asan/) and runs it for the
# given seconds (600) over the corpus kept in fuzz/corpus/ and the seeds that
# makeseeds writes, the large ones among them. New inputs go to
# build-asan/corpus/, findings to fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
scripts/setup.sh
dir="${QG_ASAN_DIR:-build-asan}"
scripts/build-sanitized.sh reader_fuzzer makeseeds
rm -rf "$dir/seeds"
mkdir -p "$dir/seeds" "$dir/corpus" fuzz/artifacts
"$dir/fuzz/makeseeds" "$dir/seeds"

# The limits follow from the reader's bound on record texts, 8 bytes per file
# byte plus 64 MiB. The largest seed, an extension area at its 1 MiB bound,
# fits in max_len = 1 MiB + 64 KiB, which allows 72.5 MiB of texts. The
# harness holds them up to four times (the database, the file written from
# it, the database read back, the second file) and AddressSanitizer about
# doubles small allocations: the inputs at the bound (large-shared-*) peak at
# about 650 MB and run for up to 15 s. With the corpus held in memory and the
# sanitizer's quarantine of freed memory (256 MB), a ten-minute run peaked at
# 950 MB; the limits leave room for long runs and four times the slowest
# input. No single allocation (the largest, a file written out, stays under
# 100 MB) comes near malloc_limit_mb. A large input costs seconds under the
# sanitizers, so the schedule favours the fast ones.
max_len=$((1024 * 1024 + 64 * 1024))
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$dir/fuzz/reader_fuzzer" "$dir/corpus" fuzz/corpus "$dir/seeds" -max_total_time="$seconds" \
    -max_len="$max_len" -rss_limit_mb=2048 -malloc_limit_mb=256 -timeout=60 \
    -entropic_scale_per_exec_time=1 -artifact_prefix=fuzz/artifacts/ -print_final_stats=1
