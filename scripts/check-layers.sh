#!/usr/bin/env bash
# Checks that includes point one way, from the higher layers to the lower:
#   numbers <- core <- values <- table <- interchange <- rules <- widgets
#   <- app; cli uses the engine (everything below widgets) and stands beside
#   the widgets, never on them.
# A file may include its own layer and those below it. The tests mirror the
# sources: tests/core/x_test.cpp is a core test and includes nothing above
# core, also through the helpers of tests/support/ it includes (a helper's
# layer is the highest one it includes). Exit 1 on a breach.
set -euo pipefail
cd "$(dirname "$0")/.."

names=(numbers core values table interchange rules widgets app)

layer() {
    local path=${1#tests/}
    case "$path" in
    support/*) support_layer "$1" ;;
    cli/*) echo 6 ;;
    *)
        local i
        for i in "${!names[@]}"; do
            if [[ $path == "${names[$i]}"/* ]]; then
                echo "$i"
                return
            fi
        done
        echo -1
        ;;
    esac
}

# The project's headers a file includes by their path from the root, and the
# test helpers it includes by their name.
includes() {
    sed -n 's/^#include "\([^"]*\)".*/\1/p' "$1" | while IFS= read -r included; do
        if [[ $included == */* ]]; then
            echo "$included"
        elif [ -f "tests/support/$included" ]; then
            echo "tests/support/$included"
        fi
    done
}

declare -A helper_layers
support_layer() {
    if [ -z "${helper_layers[$1]+set}" ]; then
        helper_layers[$1]=-1 # a helper that includes itself ends here
        local highest=-1 included theirs
        while IFS= read -r included; do
            theirs=$(layer "$included")
            [ "$theirs" -gt "$highest" ] && highest=$theirs
        done < <(includes "$1")
        helper_layers[$1]=$highest
    fi
    echo "${helper_layers[$1]}"
}

status=0
while IFS= read -r file; do
    [[ $file == tests/support/* ]] && continue
    own=$(layer "$file")
    [ "$own" -ge 0 ] || continue
    while IFS= read -r included; do
        theirs=$(layer "$included")
        [ "$theirs" -ge 0 ] || continue
        # The command-line tool stands beside the widgets, never on them.
        if [ "$theirs" -gt "$own" ] || { [[ ${file#tests/} == cli/* ]] && [[ $included == widgets/* ]]; } ||
            { [[ $file == widgets/* ]] && [[ $included == cli/* ]]; }; then
            echo "$file includes $included, which lies above it"
            status=1
        fi
    done < <(includes "$file")
done < <(git ls-files '*.cpp' '*.h')
[ $status -eq 0 ] && echo "layers: includes point down only"
exit $status
