#!/usr/bin/env bash
# Checks that every tracked C++ source is as clang-format (.clang-format)
# leaves it. Lists the files that are not and exits 1; formats nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

bad=()
while IFS= read -r file; do
    clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done < <(git ls-files '*.cpp' '*.h')

if [ ${#bad[@]} -gt 0 ]; then
    echo "format: not as clang-format leaves them (run clang-format -i on them):"
    printf '    %s\n' "${bad[@]}"
    exit 1
fi
echo "format: every source is formatted"
