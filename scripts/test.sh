#!/usr/bin/env bash
# Sets up and checks everything: the sources' format and layers, a gcc build
# and a clang build with AddressSanitizer and UndefinedBehaviorSanitizer, both
# with warnings as errors, the whole test suite under the sanitizers, the
# reader's fuzz target for a minute and the text importer's for half a
# minute, the whole test suite, and last the Debian package and its lintian
# check (a few seconds).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/check-format.sh
scripts/check-layers.sh
export QG_WERROR=ON
scripts/build.sh
scripts/sanitize.sh
scripts/fuzz.sh "${QG_FUZZ_SECONDS:-60}"
scripts/fuzz-text.sh "${QG_TEXT_FUZZ_SECONDS:-30}"
dir="${QG_BUILD_DIR:-build}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)" --timeout 600
scripts/check-package.sh
