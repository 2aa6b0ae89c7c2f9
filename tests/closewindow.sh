# Sourced by the window tests.
# find_window SECONDS: the first visible window of the program, or nothing.
# Asked again until it shows: a window that vanishes while xdotool looks at
# it (Wine makes short-lived ones at start) ends that one search with an X
# error.
find_window() {
    local found
    for _ in $(seq $(($1 * 5))); do
        found=$(xdotool search --onlyvisible --name "ConfigureTool" 2>/dev/null | head -n 1 || true)
        [[ -n $found ]] && { echo "$found"; return 0; }
        sleep 0.2
    done
}
# close_window WMCLOSE WINDOW PID: asks the window to close as a window
# manager's close button does, again every 2 s while the program runs (a
# request that arrives while Wine is still settling the window can be lost),
# and waits up to 20 s for the program to end. Returns the program's exit
# status, or 124 when it did not end.
close_window() {
    for i in $(seq 200); do
        kill -0 "$3" 2>/dev/null || break
        ((i % 20 == 1)) && "$1" "$2"
        sleep 0.1
    done
    kill -0 "$3" 2>/dev/null && return 124
    local status=0
    wait "$3" || status=$?
    return "$status"
}
