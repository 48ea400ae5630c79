#!/usr/bin/env bash
# Starts the game in a folder without properties/: it must end at once with
# code 1 and a message that says what is missing, never a blank window.
# Arguments: the executable and the data folder (unused here).
set -u
exe="$1"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=offscreen
export SDL_AUDIODRIVER=dummy
export TARNVALE_DATA_DIR="$work/save"
mkdir -p "$TARNVALE_DATA_DIR" "$work/empty"

(cd "$work/empty" && timeout 60 "$exe") >"$work/output.log" 2>&1
status=$?
cat "$work/output.log"
if [ "$status" != 1 ]; then
    echo "the game ended with exit code $status instead of 1" >&2
    exit 1
fi
if ! grep -q "FATAL ERROR: .*properties/assets.xml" "$work/output.log"; then
    echo "the message does not name the missing properties/assets.xml" >&2
    exit 1
fi
echo "no-data smoke test passed"
