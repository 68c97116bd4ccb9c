#!/bin/sh
# Where Qt would find no display (no DISPLAY, an X server or Wayland compositor
# that does not answer, on the platforms Qt would try), the program says so in
# one line that names it as it was started, and ends with status 1; it never
# aborts. Where Qt could run, it starts, and SIGTERM ends it with status 0. Run
# under xvfb-run: DISPLAY is the X server that answers.
set -eu
program=$1
live=${DISPLAY:?"run this under xvfb-run"}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A runtime folder without a compositor's socket, so that a Wayland session
# around the test does not count.
mkdir -m 0700 "$work/runtime"

# A display number that nothing serves here.
n=917
while [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
dead=":$n"

run() { # the environment and the command line to run in it, in the background
    env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u QT_QPA_PLATFORM \
        -u XDG_SESSION_TYPE XDG_RUNTIME_DIR="$work/runtime" "$@" >"$work/out" 2>&1 &
    pid=$!
}
ended() { # waits for the program; leaves its exit status in status
    status=0
    wait "$pid" || status=$?
}
fail() {
    cat "$work/out" >&2
    echo "FAIL: $*" >&2
    exit 1
}
says_no_display() { # label, then the environment and the command line
    label=$1
    shift
    run "$@"
    # Ending on its own within the test's time limit, or ended by it.
    ended
    [ "$status" -eq 1 ] || fail "$label: status $status"
    line="calculator: no display found; start it under a virtual X server: xvfb-run -a $as"
    [ "$(wc -l <"$work/out")" -eq 1 ] && grep -qxF "$line" "$work/out" || fail "$label: not the one line"
}
starts() { # label, then the environment and the command line
    label=$1
    shift
    run "$@"
    # Qt's platform is up once the program catches SIGTERM: it installs the
    # handler right after Qt started.
    tries=0
    until grep -q '^SigCgt:.*[4567cdef]...$' "/proc/$pid/status" 2>/dev/null; do
        kill -0 "$pid" 2>/dev/null || { ended; fail "$label: ended with status $status instead of running"; }
        tries=$((tries + 1))
        [ "$tries" -lt 200 ] || { kill -KILL "$pid"; fail "$label: Qt did not start in 20 s"; }
        sleep 0.1
    done
    kill -TERM "$pid"
    ended
    [ "$status" -eq 0 ] || fail "$label: SIGTERM ended it with status $status"
    grep -q 'no display found' "$work/out" && fail "$label: said there was no display"
    return 0
}

as=$program # how the program is started, which the line names
says_no_display "no DISPLAY" "$program"
run LANGUAGE=pt_BR "$program" # in the desktop's language, the command as it is
ended
grep -qxF "calculator: nenhuma tela encontrada; inicie-o em um servidor X virtual: xvfb-run -a $as" \
    "$work/out" || fail "LANGUAGE=pt_BR: not said in Portuguese"
says_no_display "DISPLAY=$dead" DISPLAY="$dead" "$program"
says_no_display "QT_QPA_PLATFORM=xcb" QT_QPA_PLATFORM=xcb DISPLAY="$dead" "$program"
says_no_display "QT_QPA_PLATFORM=XCB" QT_QPA_PLATFORM=XCB DISPLAY="$dead" "$program"
says_no_display "WAYLAND_DISPLAY without a compositor" WAYLAND_DISPLAY=nothing-here "$program"
says_no_display "QT_QPA_PLATFORM=wayland without a compositor, X answering" \
    QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=nothing-here DISPLAY="$live" "$program"
says_no_display "XDG_SESSION_TYPE=wayland without a compositor" XDG_SESSION_TYPE=wayland "$program"
says_no_display "-platform xcb over QT_QPA_PLATFORM=offscreen" \
    QT_QPA_PLATFORM=offscreen DISPLAY="$dead" "$program" -platform xcb
says_no_display "-display $dead over DISPLAY" DISPLAY="$live" "$program" -display "$dead"
# The X server's socket answers where a compositor's would.
listening=${live#:}
listening=/tmp/.X11-unix/X${listening%.*}
says_no_display "-platform waylandx, a socket answering at WAYLAND_DISPLAY" \
    WAYLAND_DISPLAY="$listening" DISPLAY="$live" "$program" -platform waylandx
says_no_display "WAYLAND_SOCKET not a number" \
    QT_QPA_PLATFORM=wayland WAYLAND_SOCKET=3x WAYLAND_DISPLAY=nothing-here "$program"
says_no_display "WAYLAND_SOCKET naming a closed descriptor" \
    QT_QPA_PLATFORM=wayland WAYLAND_SOCKET=917 "$program"
as=$(basename "$program")
says_no_display "started through PATH" PATH="$(dirname "$program"):$PATH" "$as"

starts "QT_QPA_PLATFORM=wayland;xcb, X answering" "QT_QPA_PLATFORM=wayland;xcb" DISPLAY="$live" "$program"
starts "WAYLAND_DISPLAY without a compositor, X answering" \
    WAYLAND_DISPLAY=nothing-here DISPLAY="$live" "$program"
starts "-platform offscreen" DISPLAY="$dead" "$program" -platform offscreen
starts "QT_QPA_PLATFORM=waylandx;XCB, X answering" "QT_QPA_PLATFORM=waylandx;XCB" DISPLAY="$live" "$program"
starts "-display $live" DISPLAY="$dead" "$program" --display "$live"
echo "ok: one line and status 1 where Qt finds no display; started where it does"
