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

# Plot «x»: the graph window opens modally and saves its picture.
press 144 36   # Edit1
xdotool key ctrl+a BackSpace
xdotool type x
press 244 396  # Grafico
graph=$(timeout 20 xdotool search --sync --onlyvisible --name '^Grafic Mode$' | head -n 1)
[ -n "$graph" ] || fail "no window named Grafic Mode"
sleep 0.5
[ -f img.bmp ] || fail "no img.bmp after the redraw"
le32() { od -An -tu4 -j "$1" -N 4 img.bmp | tr -d ' '; }
le16() { od -An -tu2 -j "$1" -N 2 img.bmp | tr -d ' '; }
[ "$(le32 18)x$(le32 22)x$(le16 28)" = "500x320x24" ] || fail "img.bmp is not a 500 x 320 24-bit bitmap"
blue=$(od -An -v -tx1 -w3 -j 54 img.bmp | grep -c '^ ff 00 00$' || true)
[ "$blue" -gt 400 ] || fail "img.bmp holds $blue blue pixels, not the line y = x"
press 250 250  # into the plot, then Escape closes the window
xdotool key Escape
sleep 0.5
xdotool search --onlyvisible --name '^Grafic Mode$' >/dev/null && fail "the graph window stayed open"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
if grep -v -e XDG_RUNTIME_DIR "$work/stderr" | grep -q .; then
    cat "$work/stderr" >&2
    fail "the program wrote errors"
fi
echo "ok: 7+8 gives 15 and x is plotted in the real windows"
