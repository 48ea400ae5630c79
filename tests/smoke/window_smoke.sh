#!/usr/bin/env bash
# Starts the game in a virtual X display, waits until its window is shown,
# asks it to end with SIGINT and checks that it ended cleanly and wrote its
# settings. Arguments: the executable and the data folder it runs in.
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

unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
# The X and GL libraries keep allocations for the life of the process.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export TARNVALE_DATA_DIR="$work/save"
mkdir -p "$TARNVALE_DATA_DIR"

# xvfb-run stays the parent; the game is its child and gets the signal.
(cd "$data" && exec xvfb-run -a -s "-screen 0 1024x768x24" "$exe") >"$log" 2>&1 &
runner=$!

shown=0
for _ in $(seq 1 300); do
    if grep -q "window shown" "$log"; then
        shown=1
        break
    fi
    if ! kill -0 "$runner" 2>/dev/null; then
        break
    fi
    sleep 0.1
done
if [ "$shown" != 1 ]; then
    echo "the window was never shown" >&2
    cat "$log" >&2
    kill "$runner" 2>/dev/null
    exit 1
fi

game="$(pgrep -P "$runner" -f "$exe" || true)"
if [ -z "$game" ]; then
    # xvfb-run runs the program through a shell of its own on some systems.
    for child in $(pgrep -P "$runner"); do
        game="$(pgrep -P "$child" -f "$exe" || true)"
        [ -n "$game" ] && break
    done
fi
if [ -z "$game" ]; then
    echo "could not find the game's process" >&2
    kill "$runner" 2>/dev/null
    exit 1
fi

sleep 0.5
kill -INT "$game"
for _ in $(seq 1 200); do
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$runner" 2>/dev/null; then
    echo "the game did not end after SIGINT" >&2
    kill -KILL "$game" 2>/dev/null
    cat "$log" >&2
    exit 1
fi
wait "$runner"
status=$?
cat "$log"
if [ "$status" != 0 ]; then
    echo "the game ended with exit code $status" >&2
    exit 1
fi
if [ ! -s "$TARNVALE_DATA_DIR/settings.xml" ]; then
    echo "settings.xml was not written" >&2
    exit 1
fi
echo "window smoke test passed"
