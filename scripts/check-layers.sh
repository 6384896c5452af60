#!/usr/bin/env bash
# Checks that includes point one way, from the higher layers to the lower:
#   values/numbers <- core <- values <- table <- interchange <- ui/rules
#   <- ui/widgets <- app; cli uses the engine (everything below ui/widgets).
# A file may include its own layer and those below it. Exit 1 on a breach.
set -euo pipefail
cd "$(dirname "$0")/.."

layer() {
    case "$1" in
    values/numbers/*) echo 0 ;;
    core/*) echo 1 ;;
    values/*) echo 2 ;;
    table/*) echo 3 ;;
    interchange/*) echo 4 ;;
    ui/rules/*) echo 5 ;;
    ui/widgets/*) echo 6 ;;
    cli/*) echo 6 ;;
    app/*) echo 7 ;;
    *) echo -1 ;;
    esac
}

status=0
while IFS= read -r file; do
    own=$(layer "$file")
    [ "$own" -ge 0 ] || continue
    while IFS= read -r included; do
        theirs=$(layer "$included")
        [ "$theirs" -ge 0 ] || continue
        # The command-line tool stands beside the widgets, never on them.
        if [ "$theirs" -gt "$own" ] || { [[ $file == cli/* ]] && [[ $included == ui/widgets/* ]]; } ||
            { [[ $file == ui/widgets/* ]] && [[ $included == cli/* ]]; }; then
            echo "$file includes $included, which lies above it"
            status=1
        fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files '*.cpp' '*.h')
[ $status -eq 0 ] && echo "layers: includes point down only"
exit $status
