#!/bin/sh
# Drives the calculator from the keyboard under Orca, with no speech server:
# Orca logs each utterance as "SPEECH OUTPUT: '...'", and each step waits for
# what it should say. Keys that move the keyboard go one at a time: faster than
# Orca takes them in, they move its focus without a word. Skipped without Orca.
set -eu
if [ "${2:-}" != --in-session ]; then
    [ -x /usr/bin/orca ] || { echo "SKIPPED: orca not installed" >&2 && exit 77; }
    . "$(dirname "$0")/session.sh"
    own_session "$0" "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")" --in-session
fi
. "$(dirname "$0")/xwindows.sh"
work=$(mktemp -d)
trap finish EXIT
cd "$work"
export GSETTINGS_BACKEND=memory QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
/usr/libexec/at-spi-bus-launcher --launch-immediately &
asked=$! # its bus ends with it only when asked to
# The log flushed line by line; blind to any Orca the person runs, and theirs to this one.
cat >quiet_orca.py <<'PY'
import runpy, sys, types
from orca import debug
sys.modules.update({'orca.speechdispatcherfactory': None,
                    'setproctitle': types.SimpleNamespace(setproctitle=lambda name: None)})
println = debug.println
debug.println = lambda *a, **k: (println(*a, **k), debug.debugFile and debug.debugFile.flush())
main = runpy.run_path('/usr/bin/orca', run_name='orca_launcher')['main']
main.__globals__['otherOrcas'] = lambda: []
sys.exit(main())
PY
/usr/bin/python3 quiet_orca.py --debug-file="$work/orca.log" -u "$work/prefs" >/dev/null 2>&1 &
pids=$!
log=$work/orca.log
mark() { heard_from=$(wc -l <"$log"); }
said() { tail -n "+$((heard_from + 1))" "$log" | sed -n "s/.*SPEECH OUTPUT: '\(.*\)' *\[*{.*/\1/p"; }
said_line() { said | grep -qx -- "$1"; }
knows() { tail -n "+$((heard_from + 1))" "$log" | grep -q -- "$1"; } # a line of Orca's log
hear() { step="hearing '$1'" && wait_until said_line "$1" || fail "Orca did not say '$1' but: $(said | tr '\n' '|')"; }
after() { mark && xdotool key "$1" && hear "$2"; } # key, what Orca then says
step="starting Orca"
wait_until grep -q "SPEECH OUTPUT: 'Screen reader on" "$log" 2>/dev/null || fail "Orca did not start"

mark
# Qt 6.4's accessibility bridge never frees a key event it still holds for the
# screen reader when the program ends, nor one whose receiver is gone (88 bytes
# and its text); a slow Orca leaves some. Unwound without frame pointers, its
# stack reaches the frame tools/sanitizer-suppressions.lsan names for it;
# whatever else the program leaks is reported.
ASAN_OPTIONS="${ASAN_OPTIONS:-}:fast_unwind_on_malloc=0" "$1" 2>stderr &
pid=$!
pids="$pids $pid"
target=$(window_named Calculator)
xdotool windowfocus --sync "$target" # no window manager gives it the keyboard
hear 'Calculator frame\.'
hear 'expression text\.'
# Each result once, the keyboard left in the expression: 2(3+4)*2 gives 28.
xdotool type '2(3+4)'
after Return 'notification 14\.'
xdotool type '*2'
after Return 'notification 28\.'
said | grep -q 'result\|push button' && fail "the keyboard left the expression: $(said | tr '\n' '|')"
mark
press 144 328 # =
hear 'notification 28\.'
xdotool key Escape type '1/0' # Escape empties the expression
xdotool key Return
hear 'notification ERRO\.' # Orca is done with the click by then
[ "$(said | grep -cx 'notification 28\.')" -eq 1 ] || fail "a click on = said 28 twice"
xdotool key Escape type '2+'
after Return 'alert Calculator\.'
hear 'A Expressão não é Valida\.'
mark
xdotool key Return
wait_until boxes_are 1 || fail "the box stayed open"
xdotool windowfocus --sync "$target"
hear 'expression text\.'

# The graph window: each control named as Tab reaches it; the plot's words
# follow the view; a drag says nothing, its read-out is the status bar's.
xdotool key Escape type 'sin(x)*x'
for button in 'previous answer' 'natural logarithm' logarithm pi 'constant e' 'exponent mark' \
    tangent graph; do
    after shift+Tab "$button push button\."
done
after space 'pan up push button\.'
wait_until knows "description='Graph of sin(x)\*x, x from -10 to 10, y from -10 to 10'" || fail "no plot words"
for name in 'finer sampling push button' 'coarser sampling push button' 'trace mode' \
    'column sampling check box checked' 'pan left push button' 'pan right push button' \
    'zoom in push button' 'zoom out push button' 'fit vertical range push button' \
    'reset view push button' 'pan down push button' 'pen width slider 0' \
    'horizontal range text' 'vertical range text' 'pan up push button'; do
    after Tab "$name\."
    [ "$name" != 'zoom in push button' ] || { xdotool key space &&
        wait_until knows "description='Graph of sin(x)\*x, x from -8,333 to 8,333, y from -8,333"; } ||
        fail "the plot's words do not follow the zoom"
done
target=$(window_named "Grafic Mode")
mark
xdotool mousemove --window "$target" 100 250 mousedown 1
for x in $(seq 110 10 400); do xdotool mousemove --window "$target" "$x" 250; done
xdotool mouseup 1 key Tab # its focus change comes after all the drag made Orca do
hear 'finer sampling push button\.'
[ "$(said | grep -vx 'tab ' | head -n 1)" = 'finer sampling push button.' ] || fail "the drag was spoken: $(said)"
knows "name='X: [0-9,-]*     Y: [0-9,-]*' role='status bar'" || fail "the read-out is not the status bar's text"
end_program "$pid"
grep -v -e XDG_RUNTIME_DIR -e keyEventError stderr | grep -q . && fail "the program wrote errors"
echo "ok: results, boxes and controls spoken; the plot's words and the read-out reach Orca"
