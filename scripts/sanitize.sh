#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer (scripts/
# build-sanitized.sh) and runs the engine, command-line and widget tests
# there. Any memory error, leak or undefined behaviour fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-sanitized.sh
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${QG_ASAN_DIR:-build-asan}" --output-on-failure --parallel "$(nproc)" --timeout 600
