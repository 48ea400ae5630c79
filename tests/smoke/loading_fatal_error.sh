#!/usr/bin/env bash
# A fatal error raised on the loading thread (a malformed constants.xml) is
# shown by the main thread in a box on a virtual X display; SIGTERM while the
# box is up ends the game with code 1 instead of hanging, and the box ends with
# it. The same for the box of a bad command-line argument, shown before the
# game starts.
#
# SDL shows the box from a process of its own (zenity, where installed). A
# stand-in zenity on the PATH plays that box here: it records its process id
# and waits, so the test sees whether the box outlives the game.
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
mkdir -p "$work/bin"
cat >"$work/bin/zenity" <<STANDIN
#!/bin/sh
echo \$\$ >>"$work/boxes"
exec sleep 600
STANDIN
chmod +x "$work/bin/zenity"
export PATH="$work/bin:$PATH"

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

# True when every box shown so far has ended (a wall-clock deadline, not a count of passes).
boxes_ended() {
    local deadline=$((SECONDS + 10)) alive box
    while [ $SECONDS -lt $deadline ]; do
        alive=0
        for box in $(cat "$work/boxes" 2>/dev/null); do
            kill -0 "$box" 2>/dev/null && alive=1
        done
        [ "$alive" = 0 ] && return 0
        sleep 0.2
    done
    for box in $(cat "$work/boxes"); do kill -KILL "$box" 2>/dev/null; done
    return 1
}
if [ ! -s "$work/boxes" ]; then
    echo "the error box was never shown" >&2
    exit 1
fi
if ! boxes_ended; then
    echo "the error box outlived the game" >&2
    exit 1
fi

# A bad argument: the box comes up before the game starts; SIGTERM ends both.
: >"$work/boxes"
log="$work/bogus.log"
(cd "$work/game" && exec xvfb-run -a -s "-screen 0 1024x768x24" "$exe" --bogus) >"$log" 2>&1 &
runner=$!
deadline=$((SECONDS + 60))
while [ $SECONDS -lt $deadline ] && [ ! -s "$work/boxes" ]; do
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.1
done
if [ ! -s "$work/boxes" ]; then
    echo "the box of a bad argument was never shown" >&2
    cat "$log" >&2
    kill "$runner" 2>/dev/null
    exit 1
fi
box="$(head -1 "$work/boxes")"
game="$(ps -o ppid= -p "$box" | tr -d ' ')"
kill -TERM "$game" 2>/dev/null
deadline=$((SECONDS + 10))
while [ $SECONDS -lt $deadline ] && kill -0 "$runner" 2>/dev/null; do
    sleep 0.1
done
if kill -0 "$runner" 2>/dev/null; then
    echo "the game hung after SIGTERM with the box of a bad argument up" >&2
    kill -KILL "$game" "$box" 2>/dev/null
    exit 1
fi
if ! boxes_ended; then
    echo "the box of a bad argument outlived the game" >&2
    exit 1
fi
echo "loading fatal error smoke test passed"
