# Helpers for the tests that drive the real program in a real X server with
# xdotool. Source it, then make the work folder "work" and set "trap finish
# EXIT"; the program's stderr goes to "$work/stderr". "target" names the window
# that press and the picture helpers act on, in its client coordinates (no
# window manager runs). Each wait polls for what it waits for, up to 20 s, so
# that a failure is reported within the test's time limit; a failure names its
# step and shows what the program wrote.

step="starting"
failed=

fail() {
    echo "FAIL: $*" >&2
    failed=1
    exit 1
}

# On every exit: ends what still runs ("pids" killed, "asked" sent SIGTERM for
# what they started to end with them), removes the work folder; on a failure,
# shows the program's output and the step where a command failed silently.
finish() {
    status=$?
    if [ "$status" -ne 0 ]; then
        [ -n "$failed" ] || echo "FAIL: exit status $status during: $step" >&2
        if [ -s "${work:-}/stderr" ]; then
            echo "--- the program's stderr:" >&2
            cat "$work/stderr" >&2
        fi
    fi
    for p in ${pids:-}; do kill -KILL "$p" 2>/dev/null || true; done
    for p in ${asked:-}; do kill -TERM "$p" 2>/dev/null || true; done
    [ -z "${work:-}" ] || { chmod -R u+w "$work"; rm -rf "$work"; }
}

# Runs a command every tenth of a second until it succeeds; false after 20 s.
wait_until() { # command...
    deadline=$(($(date +%s) + 20))
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# The first visible window of that exact name, of one program when a pid is given.
window_named() { # name [pid]
    step="waiting for a window named $1"
    timeout 20 xdotool search --sync --all --onlyvisible ${2:+--pid "$2"} --name "^$1\$" | head -n 1
}

press() { # x y: click there
    step="clicking at $1,$2"
    xdotool mousemove --window "$target" "$1" "$2" click 1
}

# A field's text, through the clipboard: click it, select all, copy. Reading
# the clipboard waits for the program to answer, so for the keys before it.
copy_field() { # x y
    # Copying an empty selection leaves the clipboard as it was.
    printf '<nothing copied>' | xclip -selection clipboard
    press "$1" "$2"
    xdotool key ctrl+a ctrl+c
    wait_until copied || true
    xclip -o -selection clipboard
}
copied() { [ "$(xclip -o -selection clipboard)" != '<nothing copied>' ]; }

# Whether a field comes to show a text; what it shows is left in "shown".
field_shows() { wait_until field_is "$@"; }
field_is() { # x y text
    shown=$(copy_field "$1" "$2")
    [ "$shown" = "$3" ]
}

# Visible windows named Calculator: the main windows and any message box.
boxes() {
    xdotool search --onlyvisible --name '^Calculator$' | wc -l
}
boxes_are() { [ "$(boxes)" -eq "$1" ]; }

# The number of pixels of a colour (#RRGGBB) in a block of the target window.
colour_count() { # colour width height x y
    import -window "$target" png:- |
        convert png:- -crop "$2x$3+$4+$5" +repage -format %c histogram:info:- |
        awk -v c="$1" 'toupper($0) ~ toupper(c) { n += $1 } END { print n + 0 }'
}

# Ends a program the way a session does and checks it ended cleanly.
end_program() { # pid
    step="ending the program with SIGTERM"
    kill -TERM "$1"
    status=0
    wait "$1" || status=$?
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
