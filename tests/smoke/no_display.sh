#!/bin/sh
# Without a display, or with a DISPLAY that names no X server, the program
# says so in one line and ends with status 0; it never aborts.
set -eu
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A display number that nothing serves here.
n=917
while [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done

check() { # label, then the environment to run the program in
    label=$1
    shift
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" "$program" >"$work/out" 2>&1 || status=$?
    [ "$status" -eq 0 ] || { cat "$work/out" >&2; echo "FAIL: $label: status $status" >&2; exit 1; }
    [ "$(wc -l <"$work/out")" -eq 1 ] && grep -q '^calculator: no display found' "$work/out" ||
        { cat "$work/out" >&2; echo "FAIL: $label: not the one line" >&2; exit 1; }
}
check "no DISPLAY"
check "DISPLAY=:$n" DISPLAY=":$n"
check "QT_QPA_PLATFORM=xcb DISPLAY=:$n" QT_QPA_PLATFORM=xcb DISPLAY=":$n"
echo "ok: one line and status 0 without a display"
