# Sourced by the end-to-end scripts that play the game on an X server of
# their own. Needs $work, a scratch folder that is removed at exit; the
# script sets game_pid when it starts the game, and fail shows that game's
# logs ($work/stdout.log, $work/stderr.log).
game_pid=""
xvfb_pid=""
cleanup() {
    if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "--- game stdout (tail)"; tail -n 20 "$work/stdout.log" 2>/dev/null || true
    echo "--- game stderr"; cat "$work/stderr.log" 2>/dev/null || true
    exit 1
}
step() { echo "== $*"; }

# Waits up to 20 s for the game started as $game_pid to end by itself and
# fails unless it ended with exit code 0.
wait_game_exit() {
    local rc=""
    for _ in $(seq 100); do
        if ! kill -0 "$game_pid" 2>/dev/null; then
            set +e
            wait "$game_pid"
            rc=$?
            set -e
            break
        fi
        sleep 0.2
    done
    [ -n "$rc" ] || fail "game did not exit"
    game_pid=""
    [ "$rc" -eq 0 ] || fail "game exited with code $rc"
}

# An X server of our own: other tests open windows on the shared display,
# and without a window manager the keyboard goes to whatever window lies
# under the pointer.
start_own_x_server() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$work/display")"
}
