#!/bin/bash
# Read and Stop by hand, the way a user meets it: run under Xvfb
#   xvfb-run -a -s "-screen 0 1280x800x24" tests/manual/read_stop.sh build [rounds]
# A sentence is typed, then 読む is pressed and ♪ pressed again 150 to 600 ms
# later, round after round, with the sound server restarted halfway. The null
# sink's monitor is recorded; a round is silent when nothing was heard between
# its 読む and its ♪. Needs xdotool, pulseaudio, pulseaudio-utils, python3.
BUILD=$(realpath "${1:-build}"); ROUNDS=${2:-300}; OUT=${OUT:-/tmp/pirokan-readstop}
rm -rf "$OUT"; mkdir -p "$OUT/xdg" "$OUT/home"; chmod 700 "$OUT/xdg"
export XDG_RUNTIME_DIR=$OUT/xdg HOME=$OUT/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export PULSE_SERVER=unix:$OUT/native
server() {
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --system=false --use-pid-file=no \
        -L "module-native-protocol-unix socket=$OUT/native auth-anonymous=1" \
        -L "module-null-sink sink_name=nullsink rate=48000" >>"$OUT/server.log" 2>&1 &
    PA=$!
    until pactl info >/dev/null 2>&1; do sleep 0.01; done
    # A fresh server holds back its first sound for up to two seconds; a tone tells when it plays.
    head -c 9600 /dev/urandom | pacat --format=s16le --rate=48000 --channels=1 >/dev/null 2>&1
}
record() {
    parec -d nullsink.monitor --format=s16le --rate=48000 --channels=1 --latency-msec=5 >"$OUT/monitor$1.raw" &
    REC=$!
}
now() { date +%s.%N; }
server; record 1
QT_LOGGING_RULES="pirokan.audio.debug=true" QT_MESSAGE_PATTERN="%{time process} %{message}" \
    "$BUILD/pirokan" >"$OUT/log.txt" 2>&1 &
APP=$!
sleep 6
xdotool mousemove 400 60 click 1 type --delay 30 "きょうはてんきがよいのでさんぽにいきたいです"
sleep 1
xdotool mousemove 933 597 click 1 # read once whole, so every clause is made
sleep 8
import -window root "$OUT/start.png"
read_at=(); stop_at=()
for i in $(seq 1 "$ROUNDS"); do
    if [ "$i" -eq $((ROUNDS / 2 + 1)) ]; then
        now >"$OUT/monitor1.end"; kill "$REC" "$PA"; wait "$PA" 2>/dev/null
        restarted=$(now); server; awk "BEGIN { print \"server plays again after\", $(now) - $restarted, \"s\" }" >>"$OUT/result.txt"
        record 2
    fi
    read_at+=("$(now)"); xdotool mousemove 933 597 click 1
    sleep "0.$(printf '%03d' $((150 + RANDOM % 451)))"
    stop_at+=("$(now)"); xdotool mousemove 933 597 click 1
    sleep 0.2
done
import -window root "$OUT/end.png"
now >"$OUT/monitor2.end"; kill "$REC" "$APP"; sleep 1; kill "$PA"
printf '%s\n' "${read_at[@]}" >"$OUT/read.txt"
printf '%s\n' "${stop_at[@]}" >"$OUT/stop.txt"
python3 - "$OUT" "$ROUNDS" <<'EOF' | tee -a "$OUT/result.txt"
import bisect, struct, sys
out, rounds = sys.argv[1], int(sys.argv[2])
reads = [float(x) for x in open(out + "/read.txt")]
stops = [float(x) for x in open(out + "/stop.txt")]
half = rounds // 2
def loud_times(n):  # in 1 ms steps, the last sample recorded when parec was stopped
    data = open(f"{out}/monitor{n}.raw", "rb").read()
    s = struct.unpack("<%dh" % (len(data) // 2), data)
    start = float(open(f"{out}/monitor{n}.end").read()) - len(s) / 48000
    return [start + i / 48000 for i in range(0, len(s), 48) if max(abs(v) for v in s[i:i + 48]) > 64]
# parec's first samples come late, so the recording is placed by its end, give or
# take the shift that hears the most rounds (sound outside the rounds never helps).
def heard_rounds(times, span, shift):
    heard = []
    for i in span:
        k = bisect.bisect_left(times, reads[i] + shift)
        if k < len(times) and times[k] <= stops[i] + shift + 0.05:
            heard.append(i)
    return heard
silent = []
for n, span in ((1, range(0, half)), (2, range(half, rounds))):
    times = loud_times(n)
    best = max(((heard_rounds(times, span, d / 100), d / 100) for d in range(-100, 101)),
               key=lambda b: (len(b[0]), -abs(b[1])))
    silent += [i + 1 for i in span if i not in best[0]]
    print(f"recording {n}: shifted by {best[1]:+.2f} s")
print(f"rounds={rounds} silent_rounds={len(silent)} {silent[:20]}")
EOF
