#!/bin/sh
# Drives the real calculator in a real X server: finds its window, clicks
# keypad buttons at their places, reads the result back through the clipboard
# and ends the program the way a session would.
set -eu
program=$1
. "$(dirname "$0")/xwindows.sh"
work=$(mktemp -d)
trap finish EXIT
cd "$work"

"$program" 2>"$work/stderr" &
pid=$!
pids=$pid
target=$(window_named Calculator)
[ -n "$target" ] || fail "no window named Calculator"
# A field shows a text the program wrote from its first character when putting
# its cursor at the start (click, Home, Tab away) changes nothing on screen.
# The field is looked at once two looks a tenth of a second apart agree.
look() { import -window "$target" -crop "$3x$4+$1+$2" +repage ppm:- | md5sum; }
settled() { # x y width height
    earlier=$(look "$@")
    for _ in $(seq 50); do
        sleep 0.1
        now=$(look "$@")
        [ "$now" != "$earlier" ] || break
        earlier=$now
    done
    echo "$now"
}
shows_start() { # x y width height of the field in the target window
    xdotool mousemove --window "$target" 2 2
    before=$(settled "$@")
    press $(($1 + $3 / 2)) $(($2 + $4 / 2))
    xdotool key Home Tab
    xdotool mousemove --window "$target" 2 2
    after=$(settled "$@")
    [ "$before" = "$after" ]
}

press 32 168   # 7
press 204 288  # +
press 88 168   # 8
press 144 328  # =
field_shows 160 36 "7+8" || fail "expression field shows '$shown'"
field_shows 160 132 "15" || fail "result field shows '$shown'"
field_shows 160 84 "7 8 +" || fail "postfix field shows '$shown'"

# After a keypad click the keyboard stays in the expression.
press 300 168  # C
press 32 168   # 7
xdotool type '+1'
xdotool key Return
field_shows 160 132 "8" || fail "7, then typed +1 and Enter, gives '$shown'"

# "^" from a dead key, in the result field or on a button, goes on in the expression.
setxkbmap br
press 300 168  # C
press 32 168   # 7
press 160 132  # the result field
xdotool key dead_circumflex space 2
press 160 132
xdotool key Tab dead_circumflex space 3 # Tab: to the first button
field_shows 160 36 "7^2^3" || fail "a dead key typed outside the expression gives '$shown'"
setxkbmap us

# The postfix text of a long expression is shown from its first word.
press 144 36   # Edit1
xdotool key ctrl+a BackSpace
xdotool type '1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+17+18+19+20+21+22+23+24+25'
press 144 328  # =
shows_start 24 72 273 25 || fail "the postfix field does not show its first word"

# Plot «x»: the graph window opens modally and saves its picture.
press 144 36   # Edit1
xdotool key ctrl+a BackSpace
xdotool type x
press 244 396  # Grafico
graph=$(window_named "Grafic Mode")
[ -n "$graph" ] || fail "no window named Grafic Mode"
target=$graph
wait_until [ -s img.bmp ] || fail "no img.bmp after the redraw"
le32() { od -An -tu4 -j "$1" -N 4 img.bmp | tr -d ' '; }
le16() { od -An -tu2 -j "$1" -N 2 img.bmp | tr -d ' '; }
[ "$(le32 18)x$(le32 22)x$(le16 28)" = "500x320x24" ] || fail "img.bmp is not a 500 x 320 24-bit bitmap"
cp img.bmp "$work/scale1.bmp"
blue=$(od -An -v -tx1 -w3 -j 54 img.bmp | grep -c '^ ff 00 00$' || true)
[ "$blue" -gt 400 ] || fail "img.bmp holds $blue blue pixels, not the line y = x"

# A range typed over the selected text of TAM_MAX_X stays as typed, with no
# box to swallow the keys of a number not finished yet ("1E", "-"); Enter
# shows the range in use.
range_x() { copy_field 298 91; }
type_range() {
    press 298 91
    xdotool key ctrl+a
    xdotool type -- "$1"
}
for case in 2,5:2,5 0,5:0,5 12,25:12,25 1E2:100 -20:-20; do
    typed=${case%%:*}
    type_range "$typed"
    # Copying the field is a reply from the program, so the keys were handled.
    shown=$(range_x)
    [ "$shown" = "$typed" ] || fail "typing $typed into TAM_MAX_X shows '$shown'"
    xdotool key Return
    field_shows 298 91 "${case#*:}" || fail "after typing $typed and Enter, TAM_MAX_X shows '$shown'"
    [ "$(boxes)" -eq 1 ] || fail "typing $typed raised a message box"
done
# "-" alone is no number: reported once the person is done, then the range in use.
type_range -
[ "$(range_x)" = - ] || fail "typing - into TAM_MAX_X shows '$(range_x)'"
[ "$(boxes)" -eq 1 ] || fail "typing - raised a message box at once"
xdotool key Return
wait_until boxes_are 2 || fail "Enter after typing - reported nothing"
xdotool key Return
wait_until boxes_are 1 || fail "the conversion error stayed open"
field_shows 298 91 "-20" || fail "after typing - and Enter, TAM_MAX_X shows '$shown'"

# In ZoomBox mode a click, left or right, leaves the view.
press 266 58   # ZoomBox
picture=$(md5sum img.bmp)
press 301 234
xdotool mousemove --window "$graph" 151 184 click 3
shown=$(range_x) # the program's reply: the clicks were handled
[ "$(md5sum img.bmp)" = "$picture" ] || fail "a click in ZoomBox mode changed the picture"
[ "$shown" = "-20" ] || fail "a click in ZoomBox mode changed TAM_MAX_X to '$shown'"

# The ranges the program writes are shown from their first digit.
press 161 61   # zoom in
shows_start 264 80 68 22 || fail "after zoom in, TAM_MAX_X does not show its first digit"
shown=$(range_x)
[ "$shown" = "-16,6666666666667" ] || fail "after zoom in, TAM_MAX_X holds '$shown'"
press 452 52   # Reset
press 161 61   # zoom in
press 87 61    # pan right: the extents widen
press 372 52   # ZoomFit
shows_start 416 80 76 22 || fail "after ZoomFit, TAM_MAX_Y does not show its first digit"

press 250 250  # into the plot, then Escape closes the window
xdotool key Escape
graph_open() { xdotool search --onlyvisible --name '^Grafic Mode$' >/dev/null; }
wait_until eval '! graph_open' || fail "the graph window stayed open"

# The keypad's decimal key types ","; a double click takes the whole result;
# a pasted line loses its break; Ctrl+Z brings back what C cleared.
target=$(window_named Calculator)
press 300 168  # C
xdotool type '_1'
xdotool key KP_Decimal
xdotool type '5/7'
xdotool key Return
printf '<nothing copied>' | xclip -selection clipboard
xdotool mousemove --window "$target" 90 132 click --repeat 2 --delay 80 1 key ctrl+c
wait_until copied || true
copied=$(xclip -o -selection clipboard)
[ "$copied" = "-0,214285714285714" ] || fail "a double click on the result of _1,5/7 copies '$copied'"
printf '3*3\n' | xclip -selection clipboard
press 144 36   # Edit1
xdotool key ctrl+a ctrl+v Return
result=$(copy_field 160 132)
[ "$result" = "9" ] || fail "3*3 pasted with its line break gives '$result'"
press 300 168  # C
xdotool key ctrl+z
expression=$(copy_field 160 36)
[ "$expression" = "3*3" ] || fail "Ctrl+Z after C gives back '$expression'"

end_program "$pid"
grep -v -e XDG_RUNTIME_DIR "$work/stderr" | grep -q . && fail "the program wrote errors"

# At two device pixels per unit, under every colour scheme qt6ct ships, light,
# mid-grey and dark, the "/" key's text stands out by 4.5:1 or more. Then, under the
# dark "darker" scheme, the plot is drawn at the screen's resolution
# while img.bmp stays that of scale 1, and the graph window and every box
# belong to the window they come from.
ls /usr/lib/*/qt6/plugins/platformthemes/libqt6ct.so >/dev/null 2>&1 ||
    fail "qt6ct is not installed (tools/install-deps --test)"
mkdir -p "$work/scaled" "$work/config/qt6ct"
# The WCAG ratio of the colour most unlike the face in a block against the
# face's pixel nearest the middle grey (the least readable), in a strip beside
# the text.
contrast() { # block strip
    for block in "$1" "$2"; do
        import -window "$target" png:- | convert png:- -crop "$block" +repage -format %c histogram:info:- |
            sed -n 's/^ *\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p'
        echo strip
    done | awk '
        function lin(c) { c /= 255; return c <= 0.04045 ? c / 12.92 : exp(2.4 * log((c + 0.055) / 1.055)) }
        function most(l) { return l > 0.179 ? (l + 0.05) / 0.05 : 1.05 / (l + 0.05) }
        $1 == "strip" { strip++; next }
        { l = 0.2126 * lin($2) + 0.7152 * lin($3) + 0.0722 * lin($4) }
        strip == 0 { colours[NR] = l }
        strip == 1 && (face == "" || most(l) < most(face)) { face = l }
        END { for (i in colours) { r = (colours[i] + 0.05) / (face + 0.05); if (r < 1) r = 1 / r
                                   if (r > best) best = r }
              printf "%.2f\n", best }'
}
for scheme in /usr/share/qt6ct/colors/*.conf; do
    name=$(basename "$scheme" .conf)
    printf '[Appearance]\ncolor_scheme_path=%s\ncustom_palette=true\n' "$scheme" \
        >"$work/config/qt6ct/qt6ct.conf"
    QT_SCALE_FACTOR=2 QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME="$work/config" \
        "$program" 2>>"$work/stderr" &
    pid=$!
    pids=$pid
    target=$(window_named Calculator "$pid")
    ratio=$(contrast 62x46+378+314 8x22+378+328)
    awk -v r="$ratio" 'BEGIN { exit !(r >= 4.5) }' || fail "under $name the / key's text stands out by only $ratio:1"
    end_program "$pid"
done
printf '[Appearance]\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\ncustom_palette=true\n' \
    >"$work/config/qt6ct/qt6ct.conf"
(cd "$work/scaled" && QT_SCALE_FACTOR=2 QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME="$work/config" \
    exec "$program") 2>>"$work/stderr" &
pid=$!
pids=$pid
calculator=$(window_named Calculator "$pid")
target=$calculator
transient_for() { xprop -id "$1" WM_TRANSIENT_FOR | sed -n 's/.*# //p'; }
hex() { printf '0x%x' "$1"; }
other_box() { xdotool search --onlyvisible --name '^Calculator$' | grep -vx "$calculator" | head -n 1; }
press 288 72 # the expression
xdotool type x
press 488 792 # Grafico
graph=$(window_named "Grafic Mode" "$pid")
[ "$(transient_for "$graph")" = "$(hex "$calculator")" ] || fail "the graph window is not the calculator's"
target=$graph
wait_until [ -s "$work/scaled/img.bmp" ] || fail "no img.bmp at scale 2"
cmp -s "$work/scaled/img.bmp" "$work/scale1.bmp" || fail "img.bmp at scale 2 is not that of scale 1"
import -window "$graph" -crop 1000x640+2+228 +repage "$work/plot.png"
convert "$work/plot.png" -sample 50% -sample 200% "$work/blocks.png"
[ "$(compare -metric AE "$work/plot.png" "$work/blocks.png" null: 2>&1)" -gt 0 ] ||
    fail "at scale 2 the plot is the picture of scale 1 blown up"
press 596 182 # TAM_MAX_X, a text that is no number
xdotool key ctrl+a minus Return
wait_until boxes_are 2 || fail "a range that is no number was not reported"
[ "$(transient_for "$(other_box)")" = "$(hex "$graph")" ] || fail "a box of the graph window is not its"
xdotool key Return
wait_until boxes_are 1 || fail "the box stayed open"
press 500 500 # into the plot, then Escape closes the window
xdotool key Escape
wait_until eval '! graph_open' || fail "the graph window stayed open at scale 2"
# The showing redraw fails on a y that is no number: its box comes over the
# graph window, which is on screen by then.
target=$calculator
press 530 725 # y
xdotool key ctrl+a
xdotool type abc
press 488 792 # Grafico
wait_until boxes_are 2 || fail "the failed redraw raised no box"
box=$(other_box)
graph=$(xdotool search --onlyvisible --name '^Grafic Mode$') || fail "the box came before the graph window"
[ "$(transient_for "$box")" = "$(hex "$graph")" ] || fail "the box of the showing redraw is not the graph window's"
xdotool key Return
wait_until boxes_are 1 || fail "the box of the failed redraw stayed open"
target=$graph
press 500 500
xdotool key Escape
wait_until eval '! graph_open' || fail "the graph window stayed open after the failed redraw"
target=$calculator
press 288 72
xdotool key ctrl+a plus Return # no expression: the calculator's own box
wait_until boxes_are 2 || fail "an expression that is not valid was not reported"
[ "$(transient_for "$(other_box)")" = "$(hex "$calculator")" ] || fail "the calculator's box is not its"
xdotool key Return
end_program "$pid"
grep -v -e XDG_RUNTIME_DIR "$work/stderr" | grep -q . && fail "the program wrote errors at scale 2"
echo "ok: 7+8 gives 15 and x is plotted in the real windows, sharp and readable at scale 2 in a dark theme"
