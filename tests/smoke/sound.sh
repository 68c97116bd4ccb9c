#!/bin/sh
# The curve's sound. First with no sound server, where the client library is
# set to start one (autospawn, as Debian's is without systemd): the sound
# driver must end, print nothing and start no server, as root and as nobody
# (libpulse never starts one as root). Then on a PulseAudio server of the
# test's own with a null sink, whose monitor is recorded while the driver
# plays the two-second sweep of 440 Hz: the recording must hold it whole, at
# its pitch, starting on the left and ending on the right.
#   sound.sh SOUND_DRIVER
set -eu
command -v pulseaudio >/dev/null && command -v parec >/dev/null ||
    { echo "pulseaudio or parec not installed: skipped" && exit 77; }
work=$(mktemp -d)
server= recorder=
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
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
    --load="module-native-protocol-unix auth-anonymous=1" --load="module-null-sink sink_name=calc" \
    2>"$work/server.log" &
server=$!
await "the server did not start" pactl info >/dev/null 2>&1
parec --latency-msec=20 -d calc.monitor --format=s16le --rate=44100 --channels=2 >"$work/sound" &
recorder=$!
await "nothing was recorded" test -s "$work/sound"
"$work/driver" >"$work/played" 2>"$work/stderr" || fail "the driver failed"
[ ! -s "$work/stderr" ] || { cat "$work/stderr" >&2 && fail "the driver printed"; }

# Exits 2 until the recording holds a sound and a third of a second after it.
cat >"$work/check.py" <<'PY'
import array, sys
data = open(sys.argv[1], "rb").read()
samples = array.array("h", data[: len(data) // 4 * 4])
left, right, rate = samples[0::2], samples[1::2], 44100
loud = [f for f in range(len(left)) if abs(left[f]) + abs(right[f]) > 1000]
if not loud or len(left) - loud[-1] < rate / 3:
    sys.exit(2)
start, end = loud[0], loud[-1]
wave = [left[f] + right[f] for f in range((start + end) // 2 - 4410, (start + end) // 2 + 4410)]
hz = sum((a < 0) != (b < 0) for a, b in zip(wave, wave[1:])) / 2 / 0.2
power = lambda channel, a: sum(x * x for x in channel[a : a + 4410])
seconds = (end - start) / rate
print(f"{seconds:.3f} s, {hz:.1f} Hz in the middle")
for wrong, what in [
    (not 1.9 < seconds < 2.5, "the sound is not two seconds long"),
    (abs(hz - 440) > 0.03 * 440, "the middle is not 440 Hz"),
    (power(left, start) < 20 * power(right, start), "the sound does not start on the left"),
    (power(right, end - 4410) < 20 * power(left, end - 4410), "the sound does not end on the right"),
]:
    if wrong:
        sys.exit("FAIL: " + what)
PY
status=2 tries=600
while [ "$status" -eq 2 ] && [ "$tries" -gt 0 ]; do
    sleep 0.1 && tries=$((tries - 1)) && status=0
    python3 "$work/check.py" "$work/sound" >"$work/heard" || status=$?
done
[ "$status" -ne 2 ] || fail "the recording holds no sound that ended"
[ "$status" -eq 0 ] || exit 1
echo "ok: played $(cat "$work/heard"); $(cat "$work/played")"
