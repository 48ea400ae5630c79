#!/usr/bin/env bash
# A fatal error raised on the loading thread (a malformed constants.xml) is
# shown by the main thread in a box on a virtual X display; SIGTERM while the
# box is up ends the game with code 1 instead of hanging.
# Arguments: the executable and the data folder it runs in.
set -u
exe="$1"
data="$2"

if ! command -v xvfb-run >/dev/null; then
    echo "xvfb-run is not installed" >&2
    exit 1
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
log="$work/output.log"
cp -r "$data" "$work/game"
printf '<constants><bool name="logging" value="0">\n' >"$work/game/properties/constants.xml"

unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export TARNVALE_DATA_DIR="$work/save"
mkdir -p "$TARNVALE_DATA_DIR"

(cd "$work/game" && exec xvfb-run -a -s "-screen 0 1024x768x24" "$exe") >"$log" 2>&1 &
runner=$!

reported=0
for _ in $(seq 1 300); do
    if grep -q "FATAL ERROR" "$log"; then
        reported=1
        break
    fi
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.1
done
if [ "$reported" != 1 ]; then
    echo "the fatal error was never reported" >&2
    cat "$log" >&2
    kill "$runner" 2>/dev/null
    exit 1
fi

game="$(pgrep -P "$runner" -f "$exe" || true)"
if [ -z "$game" ]; then
    for child in $(pgrep -P "$runner"); do
        game="$(pgrep -P "$child" -f "$exe" || true)"
        [ -n "$game" ] && break
    done
fi
if [ -n "$game" ]; then
    # Give the main thread time to put the box up, then ask the game to end.
    sleep 1
    kill -TERM "$game" 2>/dev/null
fi
for _ in $(seq 1 100); do
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$runner" 2>/dev/null; then
    echo "the game hung after SIGTERM" >&2
    [ -n "$game" ] && kill -KILL "$game" 2>/dev/null
    cat "$log" >&2
    exit 1
fi
wait "$runner"
status=$?
cat "$log"
if [ "$status" != 1 ]; then
    echo "the game ended with exit code $status instead of 1" >&2
    exit 1
fi
echo "loading fatal error smoke test passed"
