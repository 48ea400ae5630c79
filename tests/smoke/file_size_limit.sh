#!/usr/bin/env bash
# Starts the game under a file-size limit (ulimit -f 40, 40 KB) smaller than the profiles it saves at its
# quit, and ends it with SIGTERM. The save cannot be written; it must fail as on a full disk: the game ends
# normally (not killed by SIGXFSZ, exit code 153), profiles.xml stays as it was and no temporary file is
# left beside it.
# Arguments: the executable and the data folder it runs in.
set -u
exe="$1"
data="$2"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# No display is needed: the game draws offscreen.
export SDL_VIDEODRIVER=offscreen
export SDL_AUDIODRIVER=dummy
# The GL libraries keep allocations for the life of the process.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export TARNVALE_DATA_DIR="$work/save"
mkdir -p "$TARNVALE_DATA_DIR"
profiles="$TARNVALE_DATA_DIR/profiles.xml"

# About 30 KB of text that the game writes back in UTF-16, twice as large: past the limit.
{
    printf '<profiles selected="0"><profile name="Robin"><state><mode><set unlock="1">'
    for _ in $(seq 1 1300); do
        printf '<puzzle completed="1"/>'
    done
    printf '</set></mode></state></profile></profiles>'
} >"$profiles"
cp "$profiles" "$work/original.xml"
# A temporary file an interrupted save left an hour ago: the game removes it as it reads the profiles, so
# its going tells that the profiles were read (and that the quit will save them).
stale="$profiles.tmp-AbCdEf"
echo "left by an interrupted save" >"$stale"
touch -d '1 hour ago' "$stale"

log="$work/game.log"
# bash counts the limit in kilobytes.
(cd "$data" && exec bash -c 'echo $$ >"$0"; ulimit -f 40 && exec "$@"' "$work/game.pid" "$exe") >"$log" 2>&1 &
runner=$!

deadline=$((SECONDS + 60))
while [ $SECONDS -lt $deadline ] && { [ -e "$stale" ] || ! grep -q "window shown" "$log"; }; do
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.1
done
if [ -e "$stale" ] || ! grep -q "window shown" "$log"; then
    echo "the game never showed its window and read its profiles" >&2
    cat "$log" >&2
    kill "$runner" 2>/dev/null
    exit 1
fi

kill -TERM "$(cat "$work/game.pid")"
deadline=$((SECONDS + 20))
while [ $SECONDS -lt $deadline ] && kill -0 "$runner" 2>/dev/null; do
    sleep 0.1
done
if kill -0 "$runner" 2>/dev/null; then
    echo "the game did not end" >&2
    kill -KILL "$(cat "$work/game.pid")" 2>/dev/null
    cat "$log" >&2
    exit 1
fi
wait "$runner"
status=$?

failed=0
if [ "$status" != 0 ]; then
    echo "the game ended with exit code $status (153: killed by SIGXFSZ)" >&2
    failed=1
fi
if ! cmp -s "$profiles" "$work/original.xml"; then
    echo "profiles.xml is not the file it was" >&2
    failed=1
fi
if compgen -G "$profiles.tmp-*" >/dev/null; then
    echo "a temporary file was left: $(ls "$profiles".tmp-*)" >&2
    failed=1
fi
if [ "$failed" != 0 ]; then
    cat "$log" >&2
    exit 1
fi
echo "a save past the file-size limit failed; the game ended normally and profiles.xml is whole"
