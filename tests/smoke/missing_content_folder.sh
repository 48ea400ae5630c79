#!/usr/bin/env bash
# Starts the game from a copy of its data with one content folder removed (the
# images, the scripts) or one scripts file missing: each must end the start with
# code 1 and a message naming what is missing, never a black window. A single
# missing image only leaves its entry empty: the game starts.
# Arguments: the executable and the data folder it runs in.
set -u
exe="$1"
data="$2"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=offscreen
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export TARNVALE_DATA_DIR="$work/save"
mkdir -p "$TARNVALE_DATA_DIR"

failed=0
# expect_refusal CASE PATTERN: runs the copy in $work/CASE and checks the message.
expect_refusal() {
    local name="$1" pattern="$2"
    (cd "$work/$name" && timeout 120 "$exe") >"$work/$name.log" 2>&1
    local status=$?
    if [ "$status" != 1 ]; then
        echo "$name: the game ended with exit code $status instead of 1" >&2
        cat "$work/$name.log" >&2
        failed=1
    elif ! grep -q "FATAL ERROR: .*$pattern" "$work/$name.log"; then
        echo "$name: the message does not name what is missing ($pattern)" >&2
        cat "$work/$name.log" >&2
        failed=1
    fi
}

cp -r "$data" "$work/no-images"
rm -rf "$work/no-images/images"
expect_refusal no-images 'folder "images" is missing'

cp -r "$data" "$work/no-animations"
rm -rf "$work/no-animations/animations"
expect_refusal no-animations 'scripts file animations/common.xml is missing'

cp -r "$data" "$work/no-play-scripts"
rm -f "$work/no-play-scripts/animations/play.xml"
expect_refusal no-play-scripts 'scripts file animations/play.xml is missing'

# One missing image: the game starts (and is ended here by the timeout, code 124).
cp -r "$data" "$work/one-image"
rm -f "$work/one-image/images/ui/dialog."*
(cd "$work/one-image" && timeout 8 "$exe") >"$work/one-image.log" 2>&1
status=$?
if [ "$status" != 124 ] || grep -q "FATAL ERROR" "$work/one-image.log"; then
    echo "one-image: a single missing image stopped the game (exit $status)" >&2
    cat "$work/one-image.log" >&2
    failed=1
fi

[ "$failed" = 0 ] && echo "missing content smoke test passed"
exit "$failed"
