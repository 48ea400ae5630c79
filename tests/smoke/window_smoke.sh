#!/usr/bin/env bash
# Starts the game in a virtual X display, waits until its window is shown,
# asks it to end and checks that it ended cleanly and wrote its settings: with
# SIGINT (Ctrl+C), SIGTERM, and SIGHUP (the terminal or the session closing).
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

unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
# The X and GL libraries keep allocations for the life of the process.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# end_with SIGNAL: one start in a fresh data folder, ended by the signal.
end_with() {
    local signal="$1" log="$work/$1.log" game status deadline
    export TARNVALE_DATA_DIR="$work/save-$signal"
    mkdir -p "$TARNVALE_DATA_DIR"
    # The game writes its own process id before it starts; xvfb-run stays its parent.
    (cd "$data" && exec xvfb-run -a -s "-screen 0 1024x768x24" \
        sh -c 'echo $$ >"$0"; exec "$@"' "$work/$signal.pid" "$exe") >"$log" 2>&1 &
    local runner=$!

    deadline=$((SECONDS + 60))
    while [ $SECONDS -lt $deadline ] && ! grep -q "window shown" "$log"; do
        kill -0 "$runner" 2>/dev/null || break
        sleep 0.1
    done
    if ! grep -q "window shown" "$log"; then
        echo "SIG$signal: the window was never shown" >&2
        cat "$log" >&2
        kill "$runner" 2>/dev/null
        return 1
    fi
    game="$(cat "$work/$signal.pid")"

    kill -"$signal" "$game"
    deadline=$((SECONDS + 20))
    while [ $SECONDS -lt $deadline ] && kill -0 "$runner" 2>/dev/null; do
        sleep 0.1
    done
    if kill -0 "$runner" 2>/dev/null; then
        echo "SIG$signal: the game did not end" >&2
        kill -KILL "$game" 2>/dev/null
        cat "$log" >&2
        return 1
    fi
    wait "$runner"
    status=$?
    if [ "$status" != 0 ]; then
        echo "SIG$signal: the game ended with exit code $status" >&2
        cat "$log" >&2
        return 1
    fi
    if [ ! -s "$TARNVALE_DATA_DIR/settings.xml" ]; then
        echo "SIG$signal: settings.xml was not written" >&2
        cat "$log" >&2
        return 1
    fi
    echo "SIG$signal: ended cleanly, settings saved"
}

failed=0
for signal in INT TERM HUP; do
    end_with "$signal" || failed=1
done
if [ "$failed" != 0 ]; then
    exit 1
fi
echo "window smoke test passed"
