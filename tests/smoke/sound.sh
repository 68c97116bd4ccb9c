#!/bin/sh
# The curve's sound. With no server, where libpulse is set to start one (as
# Debian sets it without systemd), the driver must end, print nothing and start
# none, as root and as nobody. Then, on a PulseAudio server of the test's own,
# the null sink's monitor recorded while the driver plays the two-second sweep
# must hold it whole, at 440 Hz, from the left to the right.
#   sound.sh SOUND_DRIVER
set -eu
command -v pulseaudio >/dev/null && command -v parec >/dev/null ||
    { echo "pulseaudio or parec not installed: skipped" && exit 77; }
work=$(mktemp -d)
server='' recorder=''
cleanup() {
    for pid in $recorder $server; do kill "$pid" && wait "$pid"; done 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
await() { # what failed, then the command to wait for (a minute at most)
    what=$1 && shift && tries=600
    until "$@"; do
        tries=$((tries - 1)) && [ "$tries" -gt 0 ] || fail "$what"
        sleep 0.1
    done
}

# Each session in turn: a runtime folder without a server; the same for
# nobody; nobody with neither a runtime folder nor a home to write in, where
# libpulse would say so on stderr.
chmod 711 "$work" && mkdir "$work/home" "$work/run" "$work/run2" && cp "$1" "$work/driver"
printf 'autospawn = yes\n' >"$work/client.conf"
as=
[ "$(id -u)" -ne 0 ] || { chown nobody "$work/run2" && as="setpriv --reuid=nobody --regid=nogroup --clear-groups"; }
for session in "|XDG_RUNTIME_DIR=$work/run HOME=$work/home" "$as|XDG_RUNTIME_DIR=$work/run2" "$as|"; do
    before=$(pgrep -x pulseaudio || true)
    # shellcheck disable=SC2086 # the user to run as, and the variables: words
    ${session%%|*} env -u XDG_RUNTIME_DIR -u DISPLAY -u PULSE_SERVER -u PULSE_RUNTIME_PATH \
        PULSE_CLIENTCONFIG="$work/client.conf" HOME=/nonexistent ${session#*|} \
        timeout 60 "$work/driver" >/dev/null 2>"$work/stderr" || fail "no server, $session: the driver failed"
    [ ! -s "$work/stderr" ] || { cat "$work/stderr" >&2 && fail "no server, $session: it printed"; }
    [ "$(pgrep -x pulseaudio || true)" = "$before" ] || fail "no server, $session: a server started"
done
echo "ok: without a server, silent and no server started"

export XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
unset PULSE_SERVER PULSE_RUNTIME_PATH PULSE_CLIENTCONFIG DISPLAY
# No memfd: PulseAudio 16.1 can abort releasing a client's block passed to the recorder.
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr --enable-memfd=no \
    --load="module-native-protocol-unix auth-anonymous=1" --load="module-null-sink sink_name=calc" \
    2>"$work/server.log" &
server=$!
await "the server did not start" pactl info >/dev/null 2>&1
parec --latency-msec=20 -d calc.monitor --format=s16le --rate=44100 --channels=2 >"$work/sound" &
recorder=$!
await "nothing was recorded" test -s "$work/sound"
"$work/driver" >"$work/played" 2>"$work/stderr" || fail "the driver failed"
[ ! -s "$work/stderr" ] || { cat "$work/stderr" >&2 && fail "the driver printed"; }

# Exits 2 until the recording holds a sound and a third of a second after it,
# 1 if that is not the sweep.
cat >"$work/check.py" <<'PY'
import array, sys
data = open(sys.argv[1], "rb").read()
samples = array.array("h", data[: len(data) // 4 * 4])
left, right = samples[0::2], samples[1::2]
loud = [f for f in range(len(left)) if abs(left[f]) + abs(right[f]) > 1000]
if not loud or len(left) - loud[-1] < 44100 / 3:
    sys.exit(2)
start, end, middle = loud[0], loud[-1], (loud[0] + loud[-1]) // 2
# A gap, where a loaded machine let the server run dry, is left out of the time.
window = range(middle - 4410, middle + 4410)
wave = [left[f] + right[f] for f in window if abs(left[f]) + abs(right[f]) > 50]
hz = sum((a < 0) != (b < 0) for a, b in zip(wave, wave[1:])) / 2 / (len(wave) / 44100)
side = lambda a, b, f: sum(x * x for x in a[f : f + 4410]) > 20 * sum(x * x for x in b[f : f + 4410])
print(f"{(end - start) / 44100:.3f} s, {hz:.1f} Hz in the middle")
assert 1.9 < (end - start) / 44100 < 3 and abs(hz - 440) < 0.03 * 440, "not two seconds of 440 Hz"
assert side(left, right, start) and side(right, left, end - 4410), "not from left to right"
PY
await "the recording holds no sound that ended" sh -c 'python3 "$0" "$1" >/dev/null 2>&1; [ $? -ne 2 ]' \
    "$work/check.py" "$work/sound"
python3 "$work/check.py" "$work/sound" >"$work/heard" || fail "the recording holds no whole sweep"
echo "ok: played $(cat "$work/heard"); $(cat "$work/played")"
