# Helpers for the tests that drive the real program in a real X server with
# xdotool. Source it; "target" names the window that press and the picture
# helpers act on, in its client coordinates (no window manager runs).

fail() {
    echo "FAIL: $*" >&2
    for p in ${pids:-}; do kill "$p" 2>/dev/null || true; done
    exit 1
}

# The first visible window of that exact name, of one program when a pid is given.
window_named() { # name [pid]
    timeout 20 xdotool search --sync --all --onlyvisible ${2:+--pid "$2"} --name "^$1\$" | head -n 1
}

press() { # x y: click there
    xdotool mousemove --window "$target" "$1" "$2" click 1
    sleep 0.2
}

# A field's text, through the clipboard: click it, select all, copy.
copy_field() { # x y
    # Copying an empty selection leaves the clipboard as it was.
    printf '<nothing copied>' | xclip -selection clipboard
    press "$1" "$2"
    xdotool key ctrl+a ctrl+c
    sleep 0.2
    xclip -o -selection clipboard
}

# Visible windows named Calculator: the main windows and any message box.
boxes() {
    xdotool search --onlyvisible --name '^Calculator$' | wc -l
}

# The number of pixels of a colour (#RRGGBB) in a block of the target window.
colour_count() { # colour width height x y
    import -window "$target" png:- |
        convert png:- -crop "$2x$3+$4+$5" +repage -format %c histogram:info:- |
        awk -v c="$1" 'toupper($0) ~ toupper(c) { n += $1 } END { print n + 0 }'
}

# Ends a program the way a session does and checks it ended cleanly.
end_program() { # pid
    kill -TERM "$1"
    status=0
    wait "$1" || status=$?
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
