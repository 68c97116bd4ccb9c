#!/bin/sh
# Drives the real calculator in a real X server: finds its window, clicks
# keypad buttons at their places, reads the result back through the clipboard
# and ends the program the way a session would.
set -eu
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
    echo "FAIL: $*" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
}

"$program" 2>"$work/stderr" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Calculator$' | head -n 1)
[ -n "$window" ] || fail "no window named Calculator"

press() { # centre of a control, in client coordinates
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.2
}
copy_field() {
    press "$1" "$2"
    xdotool key ctrl+a ctrl+c
    sleep 0.2
    xclip -o -selection clipboard
}

press 32 168   # 7
press 204 288  # +
press 88 168   # 8
press 144 328  # =
expression=$(copy_field 160 36)
result=$(copy_field 160 132)
postfix=$(copy_field 160 84)
[ "$expression" = "7+8" ] || fail "expression field shows '$expression'"
[ "$postfix" = "7 8 +" ] || fail "postfix field shows '$postfix'"
[ "$result" = "15" ] || fail "result field shows '$result'"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
if grep -v -e XDG_RUNTIME_DIR "$work/stderr" | grep -q .; then
    cat "$work/stderr" >&2
    fail "the program wrote errors"
fi
echo "ok: 7+8 gives 15 in the real window"
