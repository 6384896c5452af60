#!/usr/bin/env bash
# The programs a user waits for, run as processes side by side with their
# floors and peers in the same run, on the largest database (32,000 x 50):
#
#   copy     quillgrid-cli copy          against the C floor (qg_copy_floor)
#   export   quillgrid-cli export (CSV)  against quillgrid-cli copy
#   print    quillgrid-cli print (PDF)   against LibreOffice Calc converting
#                                        the same data as CSV to PDF
#   start    the editor painted with the database open, against the reader
#            alone plus the editor painted empty (qg_start_bench,
#            qg_read_alone)
#
# Each round runs every program once, in turn; the figures are the medians
# of the rounds: wall time, and CPU time (user + system) beside it, since
# the wall time of a loaded machine or of a flush to disk varies more.
#
# usage: bench/cli/side-by-side.sh [BUILD_DIR] [--rounds N] [--print-rounds N]
#                                  [--peer-rounds N] [--only copy,export,print,start]
# BUILD_DIR defaults to build/. The peer needs soffice (Debian's
# libreoffice-calc); without it the peer is skipped with a message.
# This is a benchmark: the test suite does not run it.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build
rounds=7
printRounds=3
peerRounds=1
only=copy,export,print,start
while [ $# -gt 0 ]; do
    case "$1" in
    --rounds) rounds=$2; shift ;;
    --print-rounds) printRounds=$2; shift ;;
    --peer-rounds) peerRounds=$2; shift ;;
    --only) only=$2; shift ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) build=$1 ;;
    esac
    shift
done
wanted() { [[ ",$only," == *",$1,"* ]]; }

cli=$build/quillgrid-cli
for tool in "$cli" "$build/bench/qg_large_file" "$build/bench/qg_copy_floor"; do
    [ -x "$tool" ] || { echo "$tool is missing: build first (scripts/build.sh)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
db=$work/large.pdb
"$build/bench/qg_large_file" "$db"
"$cli" export "$db" "$work/large.csv" >/dev/null
# The editor's preferences and the peer's profile go to the scratch folder.
export XDG_CONFIG_HOME=$work/config
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

# timed NAME COMMAND...: runs COMMAND once (its output thrown away, the
# targets it writes removed first) and adds "wall cpu" in ms to NAME's list.
timed() {
    local name=$1 line wall user sys
    shift
    rm -f "$work"/out.*
    line=$({ TIMEFORMAT='%3R %3U %3S'; time "$@" >/dev/null 2>"$work/stderr"; } 2>&1) || {
        echo "$name failed:" >&2
        cat "$work/stderr" >&2
        exit 1
    }
    read -r wall user sys <<<"$line"
    awk -v w="$wall" -v u="$user" -v s="$sys" 'BEGIN { print w * 1000, (u + s) * 1000 }' \
        >>"$work/times.$name"
}

# median NAME COLUMN: the median of a list's column 1 (wall) or 2 (cpu).
median() {
    sort -n -k"$2","$2" "$work/times.$1" | awk -v c="$2" '{ v[NR] = $c } END {
        if (NR % 2) printf "%.1f", v[(NR + 1) / 2]; else printf "%.1f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "$(nproc) cores, load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "file: $(stat -c %s "$db") bytes; its CSV: $(stat -c %s "$work/large.csv") bytes"
echo

if wanted copy || wanted export; then
    for ((i = 0; i < rounds; ++i)); do
        timed floor "$build/bench/qg_copy_floor" "$db" "$work/out.pdb"
        timed copy "$cli" copy "$db" "$work/out.pdb"
        wanted export && timed export "$cli" export "$db" "$work/out.csv"
    done
    echo "copy and export, median of $rounds rounds (ms):"
    printf '  %-28s %9s %9s\n' "" wall cpu
    for name in floor copy export; do
        [ -f "$work/times.$name" ] && printf '  %-28s %9s %9s\n' "$name" "$(median $name 1)" "$(median $name 2)"
    done
    echo "  copy / C floor:   wall $(ratio "$(median copy 1)" "$(median floor 1)") x," \
        "cpu $(ratio "$(median copy 2)" "$(median floor 2)") x (goal: at most 1.5 x)"
    wanted export && echo "  export / copy:    wall $(ratio "$(median export 1)" "$(median copy 1)") x," \
        "cpu $(ratio "$(median export 2)" "$(median copy 2)") x (goal: at most 1.5 x)"
    echo
fi

if wanted print; then
    for ((i = 0; i < printRounds; ++i)); do
        timed print "$cli" print "$db" "$work/out.pdf"
    done
    pages=$("$cli" print "$db" "$work/print.pdf")
    echo "print, median of $printRounds rounds (ms): wall $(median print 1), cpu $(median print 2);" \
        "$pages pages, $(stat -c %s "$work/print.pdf") bytes (goal: at most 10 s)"
    if command -v soffice >/dev/null; then
        # The peer's first start makes its profile: not timed.
        profile=(-env:UserInstallation="file://$work/peer-profile")
        printf 'a,b\n1,2\n' >"$work/tiny.csv"
        soffice "${profile[@]}" --headless --convert-to pdf --outdir "$work/peer" \
            "$work/tiny.csv" >/dev/null 2>&1
        for ((i = 0; i < peerRounds; ++i)); do
            rm -f "$work/peer/large.pdf"
            timed peer soffice "${profile[@]}" --headless --convert-to pdf --outdir "$work/peer" \
                "$work/large.csv"
        done
        echo "peer (soffice --headless --convert-to pdf of the CSV), median of $peerRounds" \
            "(ms): wall $(median peer 1), cpu $(median peer 2); $(stat -c %s "$work/peer/large.pdf") bytes"
        echo "  peer / print:     wall $(ratio "$(median peer 1)" "$(median print 1)") x," \
            "cpu $(ratio "$(median peer 2)" "$(median print 2)") x (goal: at least 3 x)"
    else
        echo "peer skipped: soffice is not installed (Debian: apt-get install libreoffice-calc)"
    fi
    echo
fi

if wanted start; then
    start=$build/bench/qg_start_bench
    if [ -x "$start" ]; then
        for ((i = 0; i < rounds; ++i)); do
            timed reader "$build/bench/qg_read_alone" "$db"
            timed empty "$start"
            timed open "$start" "$db"
        done
        echo "editor start to a painted window, median of $rounds rounds (ms):"
        printf '  %-28s %9s %9s\n' "" wall cpu
        for name in reader empty open; do
            printf '  %-28s %9s %9s\n' "$name" "$(median $name 1)" "$(median $name 2)"
        done
        floorWall=$(awk -v a="$(median reader 1)" -v b="$(median empty 1)" 'BEGIN { print a + b }')
        floorCpu=$(awk -v a="$(median reader 2)" -v b="$(median empty 2)" 'BEGIN { print a + b }')
        echo "  open / (reader + empty): wall $(ratio "$(median open 1)" "$floorWall") x," \
            "cpu $(ratio "$(median open 2)" "$floorCpu") x (goal: at most 1.5 x)"
    else
        echo "start skipped: $start was not built (it needs the widgets)"
    fi
    echo
fi
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
