#!/bin/sh
# Runs the real calculator on a headless Wayland compositor (weston) through
# Qt's wayland platform. The calculator window comes up; "x" and "Grafico" are
# pressed through the accessibility interface, as a screen reader presses them
# (the headless compositor has no input devices to click with); the graph
# window comes up and saves its picture; weston's own scene graph lists both
# windows under the application id; SIGTERM ends the program with status 0
# and nothing on stderr. Then, with no platform asked for and a DISPLAY that
# names no X server, Qt's own choice starts it on the compositor too. Then on
# two of COMPOSITOR (below). Last, under sway, which draws the title bars
# itself, both windows come up with no Mesa EGL, DRI driver or LLVM mapped (a
# row skipped where sway is missing).
# Exits 77 (skipped) when weston, Qt's Wayland plugin, D-Bus or the AT-SPI
# tools are not installed.
#   wayland.sh PROGRAM APP_ID COMPOSITOR
set -eu
skip() {
    echo "SKIPPED: $* not installed" >&2
    exit 77
}
python=/usr/bin/python3 # Debian's, for which python3-gi is built
if [ "${1:-}" != --in-session ]; then
    command -v weston >/dev/null && command -v weston-debug >/dev/null || skip "weston"
    command -v dbus-run-session >/dev/null && command -v dbus-send >/dev/null || skip "D-Bus (dbus)"
    "$python" -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
        skip "AT-SPI for Python (python3-gi, gir1.2-atspi-2.0)"
    # A session bus of its own, on which the accessibility bus starts.
    . "$(dirname "$0")/session.sh"
    own_session "$0" --in-session "$@"
fi
program=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
id=$3
compositor=$4
egl='libEGL_mesa|_dri\.so|libLLVM'
work=$(mktemp -d)
weston=
sway=
others=
pid=
cleanup() {
    for running in $pid $weston $sway $others; do kill -KILL "$running" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { # shows what the program and the compositors wrote, too
    echo "FAIL: $*" >&2
    for output in "$work/stderr" "$work"/*.log; do
        [ ! -s "$output" ] || { echo "--- $(basename "$output"):" >&2 && cat "$output" >&2; }
    done
    exit 1
}
await() { # WHAT COMMAND...: runs COMMAND until it succeeds, for up to 20 s
    what=$1
    shift
    tries=0
    until "$@"; do
        tries=$((tries + 1))
        [ "$tries" -lt 100 ] || fail "$what"
        sleep 0.2
    done
}
dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.ListActivatableNames | grep -q '"org.a11y.Bus"' ||
    skip "the accessibility bus (at-spi2-core)"

# waits for the window NAME of process PID, or presses its control NAME
atspi() { # PID window|press NAME
    "$python" - "$@" <<'PY'
import sys, time, gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi

pid, what, name = int(sys.argv[1]), sys.argv[2], sys.argv[3]

def children(node):
    return [c for c in (node.get_child_at_index(i) for i in range(node.get_child_count())) if c]

def descendants(node):
    for child in children(node):
        yield child
        yield from descendants(child)

deadline = time.monotonic() + 20
while time.monotonic() < deadline:
    for app in children(Atspi.get_desktop(0)):
        if app.get_process_id() != pid:
            continue
        nodes = children(app) if what == "window" else descendants(app)
        found = next((n for n in nodes if n.get_name() == name), None)
        if found:
            if what == "press":
                found.do_action(0)
            sys.exit(0)
    time.sleep(0.2)
sys.exit(f"no {what} named {name!r} in process {pid}")
PY
}
# Whether weston shows a window TITLE of process PID, filed under the id.
shown() { # PID TITLE
    weston-debug scene-graph 2>/dev/null | grep -q "PID $1, .*top-level window '$2' of $id,"
}
stop() { # ends the program as a session does: SIGTERM, status 0, no error output
    kill -TERM "$pid" 2>/dev/null || true # one already ended is told by its status
    status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" -eq 0 ] || fail "$1: the program ended with status $status"
    [ ! -s "$work/stderr" ] || fail "$1: the program wrote errors"
}

# Under the sanitizers, leak stacks are unwound without frame pointers, through
# libwayland-client, so that Qt's leaks there are told from the program's
# (tools/sanitizer-suppressions.lsan).
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:fast_unwind_on_malloc=0"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY=calculator-test
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 --debug \
    --log="$work/weston.log" &
weston=$!
await "weston did not start" test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY"

cd "$work"
env -u DISPLAY QT_QPA_PLATFORM=wayland QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" 2>"$work/stderr" &
pid=$!
if ! atspi "$pid" window Calculator; then
    grep -q 'Could not find the Qt platform plugin "wayland"' "$work/stderr" && skip "Qt's Wayland plugin (qt6-wayland)"
    fail "no window named Calculator on Qt's wayland platform"
fi
await "weston shows no window Calculator of $id" shown "$pid" Calculator
atspi "$pid" press "variable x" || fail "could not press x"
atspi "$pid" press graph || fail "could not press Grafico"
atspi "$pid" window "Grafic Mode" || fail "Grafico opened no window named Grafic Mode"
await "weston shows no window Grafic Mode of $id" shown "$pid" "Grafic Mode"
await "the graph window saved no img.bmp" test -s img.bmp
stop "QT_QPA_PLATFORM=wayland"

# Both displays set: Qt takes Wayland first, and so must the display check;
# the X display here has no server.
n=917
while [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
env -u QT_QPA_PLATFORM DISPLAY=":$n" "$program" 2>"$work/stderr" &
pid=$!
await "with Qt's own choice, weston shows no Calculator" shown "$pid" Calculator
stop "Qt's own choice"
echo "ok: both windows on weston, and Qt's own choice is Wayland there"

# On a compositor that answers "client side", Qt draws the title bars and so
# starts EGL; on one that never answers, the program still goes on to Qt: its
# Wayland plugin loads (and waits there in turn).
"$compositor" client-side & others=$!
"$compositor" silent silent & others="$others $!"
await "no compositors of the test's own" test -S "$XDG_RUNTIME_DIR/client-side" -a -S "$XDG_RUNTIME_DIR/silent"
for row in "client-side:$egl" "silent:libQt6WaylandClient"; do
    WAYLAND_DISPLAY=${row%%:*} QT_QPA_PLATFORM=wayland "$program" 2>"$work/stderr" &
    pid=$!
    await "on ${row%%:*}, the program never mapped ${row#*:}" grep -qE "${row#*:}" "/proc/$pid/maps"
    kill -KILL "$pid" 2>/dev/null || true # it may have ended: what it mapped was seen
    wait "$pid" 2>/dev/null || true
done
pid=
echo "ok: Qt draws the title bars where the compositor answers client side, and no answer holds nobody"

command -v sway >/dev/null || { echo "sway not installed: its row skipped" && exit 0; }
mkdir -m 0700 "$work/sway" && echo "xwayland disable" >"$work/sway.conf"
as= # sway will not start as root
[ "$(id -u)" -ne 0 ] || { chmod 711 "$work" && chown nobody "$work/sway" &&
    as="setpriv --reuid=nobody --regid=nogroup --clear-groups"; }
XDG_RUNTIME_DIR="$work/sway" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    $as sway -c "$work/sway.conf" 2>"$work/sway.log" &
sway=$!
await "sway did not start" test -S "$work/sway/wayland-1"
WAYLAND_DISPLAY="$work/sway/wayland-1" QT_QPA_PLATFORM=wayland QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$program" 2>"$work/stderr" &
pid=$!
atspi "$pid" window Calculator && atspi "$pid" press "variable x" && atspi "$pid" press graph &&
    atspi "$pid" window "Grafic Mode" || fail "sway: the windows did not come up"
! grep -E "$egl" "/proc/$pid/maps" || fail "sway decorates, yet EGL started"
stop "sway"
echo "ok: under sway, which draws the title bars, no EGL"
