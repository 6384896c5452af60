#!/usr/bin/env bash
# Draws the editor with the example database open into docs/screenshot.png,
# on a virtual X display when there is no display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
dir="${QG_BUILD_DIR:-build}"
out="${1:-docs/screenshot.png}"
run=("$dir/examples/quillgrid-screenshot" "$dir/examples/Garden.pdb" "$out" 900 520)
if [ -z "${DISPLAY:-}" ]; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}"
else
    "${run[@]}"
fi
echo "wrote $out"
