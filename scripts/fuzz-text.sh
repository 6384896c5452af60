#!/usr/bin/env bash
# Builds the delimited-text importer's fuzz target with clang, Address-
# Sanitizer and UndefinedBehaviorSanitizer (scripts/build-sanitized.sh, in
# build-asan/) and runs it for the given seconds (600) over the small corpus
# kept in fuzz/textcorpus/. New inputs go to build-asan/textcorpus/,
# findings to fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
scripts/setup.sh
dir="${QG_ASAN_DIR:-build-asan}"
scripts/build-sanitized.sh text_fuzzer
mkdir -p "$dir/textcorpus" fuzz/artifacts

# Goal: an import takes at most 3 bytes per byte of text plus 64 MiB. The
# target itself counts the allocator's bytes in use through the sanitizer's
# hooks and aborts past that bound, input by input. max_len lets an input
# pass the longest line read (1 MiB) and reach its error; such an input may
# take 3 x 1.06 MiB + 64 MiB = 67 MiB by the goal. The harness holds the
# text, the database twice (from a file, from a pipe) and its export, and
# AddressSanitizer about doubles small allocations and keeps 256 MB of freed
# memory in quarantine: -rss_limit_mb leaves room for that and the corpus;
# no single allocation comes near -malloc_limit_mb.
max_len=$((1024 * 1024 + 64 * 1024))
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$dir/fuzz/text_fuzzer" "$dir/textcorpus" fuzz/textcorpus -max_total_time="$seconds" \
    -max_len="$max_len" -rss_limit_mb=2048 -malloc_limit_mb=128 -timeout=60 \
    -artifact_prefix=fuzz/artifacts/ -print_final_stats=1
