# Sourced by the scripts that need a D-Bus session bus of their own.
# own_session COMMAND...: runs COMMAND in a session bus of its own, with a
# runtime folder of its own for the accessibility bus's socket (elsewhere
# ~/.cache/at-spi/bus, which another test running beside it would take over),
# and exits with its status.
own_session() {
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
    status=0
    dbus-run-session -- "$@" || status=$?
    rm -rf "$XDG_RUNTIME_DIR"
    exit "$status"
}
