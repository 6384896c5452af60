#!/usr/bin/env bash
# The recovery of unsaved changes as a user meets it, on a virtual display:
# edit a cell, wait the recovery time and a second, kill -9 the editor,
# start it again, restore (Enter), save, and dump the file; then the bar
# above the grid after another program changed the open file. Screenshots
# of the "Recover changes" box and of the bar go to build/shots/. Prints
# the time from the change to the recovery file.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${QG_BUILD_DIR:-build}"
seconds="${1:-2}"
shots="$dir/shots"
mkdir -p "$shots"
work="$(mktemp -d)"
display=":$((90 + RANDOM % 100))"
cleanup() {
    [ -n "${editor:-}" ] && kill -9 "$editor" 2>/dev/null || true
    [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$XDG_CONFIG_HOME/QGE"
printf '[Settings]\nHandheldSoftware=0\nRecoverySeconds=%s\n' "$seconds" >"$XDG_CONFIG_HOME/QGE/QGE.ini"
recovery="$XDG_DATA_HOME/Quillgrid5/recovery"
cp "$dir/examples/Garden.pdb" "$work/Garden.pdb"
chmod 644 "$work/Garden.pdb"

Xvfb "$display" -screen 0 1024x700x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display" QT_QPA_PLATFORM=xcb
sleep 1
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

start() {
    "$dir/quillgrid" "$@" >"$work/editor.log" 2>&1 &
    editor=$!
    for _ in $(seq 50); do
        window="$(xdotool search --pid "$editor" --onlyvisible --class quillgrid 2>/dev/null | tail -1)" || true
        [ -n "$window" ] && break
        sleep 0.2
    done
    [ -n "$window" ] || { echo "no window"; exit 1; }
    xdotool windowactivate --sync "$window" 2>/dev/null || true
    sleep 1
}
dumpCell() { "$dir/quillgrid-cli" dump "$work/Garden.pdb" | grep -c "$1" || true; }

# 1. Edit, wait, kill.
start "$work/Garden.pdb"
xdotool key ctrl+Home
sleep 0.3
xdotool type --delay 20 "Recovered by the scenario"
xdotool key Return
changed=$(date +%s%N)
while [ -z "$(ls "$recovery"/*.json 2>/dev/null)" ]; do
    sleep 0.05
    [ $(( ($(date +%s%N) - changed) / 1000000000 )) -lt $((seconds + 10)) ] || { echo "no recovery file"; find "$HOME" -ls; cat "$work/editor.log"; exit 1; }
done
written=$(date +%s%N)
echo "change to recovery file: $(( (written - changed) / 1000000 )) ms (RecoverySeconds=$seconds)"
sleep $((seconds + 1))
ls -la "$recovery" | sed 's/^/  /'
stat -c '  folder %a' "$recovery"
kill -9 "$editor"
wait "$editor" 2>/dev/null || true
editor=
echo "killed; the file has the text $(dumpCell 'Recovered by the scenario') time(s)"

# 2. Start again: the question, Enter restores, save, quit.
start
box="$(xdotool search --onlyvisible --name 'Recover changes' | head -1)" || true
[ -n "$box" ] || { echo "no question"; cat "$work/editor.log"; ls -la "$recovery"; exit 1; }
import -window root "$shots/recover-changes.png"
xdotool windowactivate --sync "$box" 2>/dev/null || true
xdotool key Return
sleep 1
import -window root "$shots/restored.png"
xdotool key ctrl+s
sleep 1
echo "restored and saved; the file has the text $(dumpCell 'Recovered by the scenario') time(s)"
echo "recovery folder after the save: $(ls "$recovery" | grep -v lock | wc -l) file(s) but locks"

# 3. Another program changes the open file: the bar.
"$dir/quillgrid-cli" replace "$work/Garden.pdb" "$work/Garden.pdb" --find "Recovered by the scenario" \
    --with "Changed outside" >/dev/null
sleep 1.5
xdotool windowactivate --sync "$window" 2>/dev/null || true
sleep 0.5
import -window root "$shots/changed-on-disk.png"
# Local changes too: the bar says both changed.
xdotool key ctrl+End
xdotool type --delay 20 "Local"
xdotool key Return
sleep 0.5
"$dir/quillgrid-cli" replace "$work/Garden.pdb" "$work/Garden.pdb" --find "Changed outside" \
    --with "Changed outside again" >/dev/null
sleep 1.5
import -window root "$shots/both-changed.png"
kill -9 "$editor"
editor=
echo "screenshots in $shots"
