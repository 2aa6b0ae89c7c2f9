# Sourced by the window tests.
# close_window WMCLOSE WINDOW PID: asks the window to close as a window
# manager's close button does and waits up to 10 s for the program to end.
# Returns the program's exit status, or 124 when it did not end.
close_window() {
    "$1" "$2"
    for _ in $(seq 100); do kill -0 "$3" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$3" 2>/dev/null && return 124
    local status=0
    wait "$3" || status=$?
    return "$status"
}
