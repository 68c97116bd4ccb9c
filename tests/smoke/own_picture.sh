#!/bin/sh
# Two calculators started from one folder, each with its own curve: tracing and
# dragging a zoom box in one keep its own curve on screen, whatever the other
# saved as img.bmp. Then a calculator in a folder where img.bmp cannot be
# written still draws the trace square.
set -eu
program=$1
. "$(dirname "$0")/xwindows.sh"
work=$(mktemp -d)
trap finish EXIT
pids=

# Starts a calculator in a folder and asks for the plot of an expression;
# leaves its pid in pid.
start_plot() { # folder expression
    (cd "$1" && exec "$program") 2>>"$work/stderr" &
    pid=$!
    pids="$pids $pid"
    target=$(window_named Calculator "$pid")
    [ -n "$target" ] || fail "no calculator window"
    press 144 36 # the expression
    xdotool type -- "$2"
    press 244 396 # Grafico
}

# Leaves target on the graph window of the program pid, once it has drawn.
to_graph() {
    target=$(window_named "Grafic Mode" "$pid")
    [ -n "$target" ] || fail "no graph window"
    wait_until axes_drawn || fail "the graph window draws no axes"
}
axes_drawn() { [ "$(colour_count '#000000' 500 1 1 274)" -gt 400 ]; }

# The graph window's picture starts at (1, 114); in the starting view y = 5
# lies on row 80 and y = -5 on row 240. The curve of A, not that of B, is seen when at least 150 of 200 pixels left of the y-axis are blue
# on the first row (a trace square may cover a few) and none on the other.
shows_own_curve() {
    [ "$(colour_count '#0000FF' 200 1 21 194)" -ge 150 ] &&
        [ "$(colour_count '#0000FF' 200 1 21 354)" -eq 0 ]
}
draws_green() { [ "$(colour_count '#008000' "$@")" -gt 0 ]; }

mkdir "$work/shared"
start_plot "$work/shared" 5
to_graph
a=$pid
graph_a=$target
start_plot "$work/shared" _5
to_graph
end_program "$pid" # its img.bmp stays behind: a line at y = -5
target=$graph_a
wait_until shows_own_curve || fail "before any drag, calculator A does not show its curve"

# Trace: press and drag along the picture.
xdotool mousemove --window "$target" 101 200 mousedown 1 mousemove --window "$target" 151 200
wait_until draws_green 500 320 1 114 || fail "tracing in A draws no square"
shows_own_curve || fail "tracing in A shows the other calculator's curve"
xdotool mouseup 1

# A zoom box, looked at while it is being dragged.
press 266 58 # ZoomBox
xdotool mousemove --window "$target" 251 134 mousedown 1 mousemove --window "$target" 451 300
wait_until draws_green 500 320 1 114 || fail "dragging in A draws no box"
shows_own_curve || fail "a zoom box in A shows the other calculator's curve"
xdotool mouseup 1
end_program "$a"

# A folder the program cannot write img.bmp into (root writes anywhere, but
# never over a folder of that name).
mkdir -p "$work/readonly/img.bmp"
chmod a-w "$work/readonly"
start_plot "$work/readonly" x
wait_until boxes_are 2 || fail "no message box says img.bmp cannot be saved"
xdotool key Return
to_graph
xdotool mousemove --window "$target" 376 300 mousedown 1 mousemove --window "$target" 376 310
wait_until draws_green 20 20 366 184 || fail "in a folder it cannot write, tracing draws no square"
xdotool mouseup 1
# Keys typed into a range field, and a click on Reset that takes the keyboard
# away, raise no box while the failure reported lasts; Reset lands whole.
press 298 91 # TAM_MAX_X
xdotool key ctrl+a
xdotool type 5,
# Copying the field is a reply from the program, so the keys were handled.
[ "$(copy_field 298 91)" = 5, ] || fail "typing 5, into TAM_MAX_X shows '$(copy_field 298 91)'"
[ "$(boxes)" -eq 1 ] || fail "typing in TAM_MAX_X raised a message box"
xdotool mousemove --window "$target" 452 52 mousedown 1
# A press a person holds for half a second.
sleep 0.5
[ "$(boxes)" -eq 1 ] || fail "a box opened while Reset was held down"
xdotool mouseup 1
field_shows 298 91 "20" || fail "Reset did not land: TAM_MAX_X shows '$shown'"
[ "$(boxes)" -eq 1 ] || fail "the failure that lasts was reported again"
end_program "$pid"

grep -v -e XDG_RUNTIME_DIR "$work/stderr" | grep -q . && fail "the program wrote errors"
echo "ok: each calculator draws over its own picture, also where it cannot save"
