#!/usr/bin/env bash
# Sets up, builds and starts the editor on the bundled example database.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
dir="${QG_BUILD_DIR:-build}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a "$dir/quillgrid" "$dir/examples/Garden.pdb" "$@"
fi
exec "$dir/quillgrid" "$dir/examples/Garden.pdb" "$@"
