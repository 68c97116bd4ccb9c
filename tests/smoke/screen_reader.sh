#!/bin/sh
# Drives the calculator from the keyboard under Orca, with no speech server:
# Orca logs each utterance as "SPEECH OUTPUT: '...'", and each step waits for
# what it should say. Results are spoken alone, fields whole, the plot is
# walked from the keyboard. Keys that move the keyboard go one at a time: faster than
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
# The graph window's read-out, as the accessibility tree has it.
readout() {
    /usr/bin/python3 -c '
import pyatspi
def walk(o):
    if o.getRole() == pyatspi.ROLE_STATUS_BAR and o.name.startswith("X:"):
        raise SystemExit(print(o.name))
    for child in o:
        walk(child)
for app in pyatspi.Registry.getDesktop(0):
    if app and app.name == "calculator":
        walk(app)'
}
# Whether the last thing said is the point the read-out shows.
said_readout() {
    x=$(readout | sed -n 's/^X: \([-0-9,]*\) .*/\1/p')
    [ -n "$x" ] && said | tail -n 1 | grep -q "^x $x, "
}
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
after Return '14\.' # alone: no "notification"
xdotool type '*2'
after Return '28\.'
said | grep -q 'result\|push button' && fail "the keyboard left the expression: $(said | tr '\n' '|')"
mark
press 144 328 # =
hear '28\.'
xdotool key Escape type '1/0' # Escape empties the expression
xdotool key Return
hear 'ERRO\.' # Orca is done with the click by then
[ "$(said | grep -cx '28\.')" -eq 1 ] || fail "a click on = said 28 twice"
said | grep -q notification && fail "a result was spoken with its role: $(said | tr '\n' '|')"
# Every character of a field, the last one too.
xdotool key Escape type '12345'
after Return '12345\.'
after Tab '12345 selected\.'
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
# The plot: before the first control, its description; the keys walk the curve.
after shift+Tab 'plot image\.'
hear 'Graph of sin(x)\*x, x from -10 to 10, y from -10 to 10; crosses zero 6 times; highest 7,915 at x -7,96; lowest -5,44 at x -10\.'
after Home 'x -10, y -5,44\.'
after Right 'x -9,96, y -5,08\.'
after ctrl+Right 'x -9,44, y -0,1437, crosses zero\.'
# A held key: said at its first press and once where it stops, not at every step.
mark
xdotool keydown Right
sleep 1
xdotool keyup Right
step="hearing where the held key stopped"
wait_until said_readout || fail "the read-out $(readout) was not said last: $(said | tr '\n' '|')"
[ "$(said | grep -c '^x ')" -le 3 ] || fail "a held key said too much: $(said | tr '\n' '|')"
after Tab 'pan up push button\.'
for name in 'finer sampling push button' 'coarser sampling push button' 'trace mode' \
    'column sampling check box checked' 'pan left push button' 'pan right push button' \
    'zoom in push button' 'zoom out push button' 'fit vertical range push button' \
    'reset view push button' 'pan down push button' 'pen width slider 1' \
    'horizontal range text' 'vertical range text' 'plot image' 'pan up push button'; do
    after Tab "$name\."
    [ "$name" != 'zoom in push button' ] || after space 'x from -8,333 to 8,333, y from -8,333 to 8,333\.'
done
target=$(window_named "Grafic Mode")
mark
xdotool mousemove --window "$target" 100 250 mousedown 1
for x in $(seq 110 10 400); do xdotool mousemove --window "$target" "$x" 250; done
xdotool mouseup 1
# Orca follows a click's focus silently, and drops a focus it sees only once the
# focus has moved on: a Tab before it has followed the click to the plot is not spoken.
wait_until knows 'Changing locusOfFocus from .* to \[image | plot\]' || fail "Orca did not follow the click"
xdotool key Tab # its focus change comes after all the drag made Orca do
hear 'pan up push button\.' # the press gave the plot the keyboard, as a click on any control
said | grep -q '^x \|X: ' && fail "the drag was spoken: $(said | tr '\n' '|')"
knows "name='X: [0-9,-]*     Y: [0-9,-]*' role='status bar'" || fail "the read-out is not the status bar's text"
end_program "$pid"
# Qt's bridge waits briefly for Orca to pass on each key, then delivers it anyway
# and says so, and again when the late answer comes: a loaded machine's words, not ours.
grep -v -e XDG_RUNTIME_DIR -e 'QSpiApplication::keyEventError ' \
    -e 'QSpiApplication::notifyKeyboardListenerCallback with no queued key called' stderr |
    grep -q . && fail "the program wrote errors"

# On a desktop in Portuguese (Qt reads LANG itself: no glibc locale needed); Orca's words stay English.
mark
ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" env -u LANGUAGE -u LC_ALL -u LC_MESSAGES \
    LANG=pt_BR.UTF-8 "$1" 2>stderr &
pid=$! && pids="$pids $pid" && target=$(window_named Calculator "$pid")
xdotool windowfocus --sync "$target"
hear 'expressão text\.'
xdotool type x
# The bridge holds a key until Orca has seen it, so a click could overtake it.
wait_until knows 'text-changed:insert .*(0,1,x)' || fail "the x typed did not reach the expression"
press 244 396 # Grafico
hear 'deslocar para cima push button\.'
end_program "$pid"
echo "ok: results, fields, boxes and controls spoken, in English and Portuguese; the plot walked by keys; its words and the read-out reach Orca"
