# Sourced by the scripts that need a D-Bus session bus of their own.
# own_session COMMAND...: runs COMMAND in a session bus of its own, with a
# runtime folder of its own for the accessibility bus's socket (elsewhere
# ~/.cache/at-spi/bus, which another test running beside it would take over),
# and exits with its status. CTest ends a test out of time with SIGKILL, which
# no trap sees: a watcher outside the test's process tree removes the folder
# once this shell is gone, however it ends.
own_session() {
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
    setsid -f sh -c 'while kill -0 "$1" 2>/dev/null; do sleep 1; done; rm -rf "$2"' \
        sh "$$" "$XDG_RUNTIME_DIR" </dev/null >/dev/null 2>&1
    status=0
    dbus-run-session -- "$@" || status=$?
    rm -rf "$XDG_RUNTIME_DIR"
    exit "$status"
}
