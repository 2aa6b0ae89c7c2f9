# Sourced by the window tests.
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
