#!/usr/bin/env bash
# A fatal error raised on the loading thread (a malformed constants.xml) is
# reported, and the main thread shows it in a box on a virtual X display;
# SIGTERM while the box is up ends the game with code 1 instead of hanging, and
# no process the game started outlives it. The same for the box of a bad
# command-line argument, shown before the game starts, ended by SIGTERM and by
# SIGHUP (a closed terminal).
#
# Who draws the box depends on the machine: SDL draws it itself in a forked
# child of the game when the X server has fonts for it, and runs zenity
# otherwise. A stand-in zenity on the PATH plays the second case here, so the
# test needs no zenity. Either way the box is a process the game started: the
# game runs in a session of its own, and every process of that session must end
# with it. The X server is the test's own and outlives the game, so a box left
# behind cannot end for want of a display.
#
# Every case runs twice: with no D-Bus session bus to find (as under ssh or a
# CI runner, where the system's D-Bus library would start one on demand through
# dbus-launch when dbus-x11 is installed) and with a session bus of the test's
# own. Neither way may the game leave a process behind.
# Arguments: the executable and the data folder it runs in.
set -u
exe="$1"
data="$2"

for tool in Xvfb dbus-daemon; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed" >&2
        exit 1
    fi
done

work="$(mktemp -d)"
server=""
bus=""
cleanup() {
    # Whatever a failed case left behind goes, then the display.
    local sid pid
    for sid in $(cat "$work"/*.sid 2>/dev/null); do
        for pid in $(pgrep -s "$sid"); do
            kill -KILL "$pid" 2>/dev/null
        done
    done
    [ -n "$bus" ] && kill "$bus" 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

cp -r "$data" "$work/game"
printf '<constants><bool name="logging" value="0">\n' >"$work/game/properties/constants.xml"
mkdir -p "$work/bin"
cat >"$work/bin/zenity" <<'STANDIN'
#!/bin/sh
exec sleep 600
STANDIN
chmod +x "$work/bin/zenity"
export PATH="$work/bin:$PATH"

unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export TARNVALE_DATA_DIR="$work/save"
mkdir -p "$TARNVALE_DATA_DIR"
# A runtime folder without a bus socket in it: no session bus but one the test starts.
unset DBUS_SESSION_BUS_ADDRESS
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The server picks a free display and writes its number once it listens.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
server=$!
deadline=$((SECONDS + 30))
while [ $SECONDS -lt $deadline ] && ! grep -q '[0-9]' "$work/display" 2>/dev/null; do
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
done
if ! grep -q '[0-9]' "$work/display" 2>/dev/null; then
    echo "the virtual display did not start" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
DISPLAY=":$(tr -dc '0-9' <"$work/display")"
export DISPLAY

# The processes of a session but its leader, one per line.
others() {
    pgrep -s "$1" | grep -vx "$1"
}

# run_case NAME SIGNAL [ARGUMENT...]: starts the game in a session of its own,
# waits for the fatal error and its box, sends the signal and checks the ending.
run_case() {
    local name="$1" signal="$2"
    shift 2
    local log="$work/$name.log" sid status deadline
    : >"$log"
    (cd "$work/game" && exec setsid -w sh -c 'echo $$ >"$0"; exec "$@"' "$work/$name.sid" "$exe" "$@") \
        >"$log" 2>&1 &
    local runner=$!

    deadline=$((SECONDS + 60))
    while [ $SECONDS -lt $deadline ] && ! grep -q "FATAL ERROR" "$log"; do
        kill -0 "$runner" 2>/dev/null || break
        sleep 0.1
    done
    if ! grep -q "FATAL ERROR" "$log"; then
        echo "$name: the fatal error was never reported" >&2
        cat "$log" >&2
        return 1
    fi
    sid="$(cat "$work/$name.sid")"

    # The box: another process of the game's session, whoever draws it.
    deadline=$((SECONDS + 30))
    while [ $SECONDS -lt $deadline ] && [ -z "$(others "$sid")" ]; do
        kill -0 "$runner" 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$(others "$sid")" ]; then
        echo "$name: the error box was never shown" >&2
        cat "$log" >&2
        return 1
    fi

    # A few seconds, with room for a sanitizer build on a busy machine.
    kill -"$signal" "$sid" 2>/dev/null
    deadline=$((SECONDS + 10))
    while [ $SECONDS -lt $deadline ] && kill -0 "$runner" 2>/dev/null; do
        sleep 0.1
    done
    if kill -0 "$runner" 2>/dev/null; then
        echo "$name: the game hung after SIG$signal with the box up" >&2
        cat "$log" >&2
        return 1
    fi
    wait "$runner"
    status=$?
    if [ "$status" != 1 ]; then
        echo "$name: the game ended with exit code $status instead of 1" >&2
        cat "$log" >&2
        return 1
    fi

    # A wall-clock deadline, not a count of passes.
    deadline=$((SECONDS + 5))
    while [ $SECONDS -lt $deadline ] && [ -n "$(pgrep -s "$sid")" ]; do
        sleep 0.1
    done
    if [ -n "$(pgrep -s "$sid")" ]; then
        echo "$name: the error box outlived the game:" >&2
        ps -o pid,args -s "$sid" >&2
        return 1
    fi
    echo "$name: reported, ended with code 1 by SIG$signal, nothing left behind"
}

run_cases() {
    local when="$1" failed=0
    run_case "loading-$when" TERM || failed=1
    run_case "argument-$when" TERM --bogus || failed=1
    run_case "argument-hangup-$when" HUP --bogus || failed=1
    return "$failed"
}

failed=0
run_cases no-bus || failed=1

# A session bus outside the game's session, as a desktop has one.
dbus-daemon --session --fork --nopidfile --print-address=3 --print-pid=4 \
    3>"$work/bus.address" 4>"$work/bus.pid" >"$work/bus.log" 2>&1
bus="$(tr -dc '0-9' <"$work/bus.pid")"
DBUS_SESSION_BUS_ADDRESS="$(head -n 1 "$work/bus.address")"
if [ -z "$bus" ] || [ -z "$DBUS_SESSION_BUS_ADDRESS" ]; then
    echo "the test's session bus did not start" >&2
    cat "$work/bus.log" >&2
    exit 1
fi
export DBUS_SESSION_BUS_ADDRESS
run_cases bus || failed=1

if [ "$failed" != 0 ]; then
    exit 1
fi
echo "loading fatal error smoke test passed"
