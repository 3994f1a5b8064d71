#!/bin/bash
# Dwell on a pointer that holds dead still, with real pointer moves:
#   xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" tests/manual/dwell_still.sh build
# Dwell is set to 1.0 s. Ten times each, the pointer rests off the board, then
# jumps onto か, or glides there in 15 steps over a quarter of a second, and
# does not move again; or jumps there and trembles. Each try prints how many ms after the pointer stopped
# か was pressed (as the program's log says), or "never" after 3 s; the last
# line counts the tries that pressed か between 0.75 and 1.2 s after the stop
# (1.6 s after the arrival for a trembling pointer). Last, five presses of け after which the pointer
# stays still over the selection screen that opens under it.
# The coordinates are those of the window at its first size on that screen.
BUILD=$(realpath "${1:-build}"); OUT=${OUT:-/tmp/pirokan-dwell}; rm -rf "$OUT"; mkdir -p "$OUT"
export XDG_RUNTIME_DIR=$OUT/xdg; mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
pulseaudio -n --daemonize=yes --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=nullsink" 2>/dev/null
export HOME=$OUT/home; mkdir -p "$HOME/.config/Talk"
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
printf '[Access]\nMethod=1\nDwellMs=1000\n' >"$XDG_CONFIG_HOME/Talk/Talk.conf"
xdotool mousemove 1270 1010
QT_LOGGING_RULES="pirokan.access.debug=true" QT_MESSAGE_PATTERN="%{time yyyy-MM-dd hh:mm:ss.zzz} %{message}" \
    "$BUILD/pirokan" >"$OUT/log.txt" 2>&1 &
pid=$!
sleep 6
KA="866 197"; BACK="710 686"; AWAY="1270 1010"; TEXT="500 80"
ms() { date -d "$1" +%s%3N; }
# Waits up to 3 s for the next dwell press after log line $1; prints its time in ms and what it pressed.
press() {
    for _ in $(seq 1 300); do
        line=$(tail -n +$(($1 + 1)) "$OUT/log.txt" | grep -m1 'dwell press')
        [ -n "$line" ] && { echo "$(ms "${line:0:23}") ${line:36}"; return; }
        sleep 0.01
    done
}
good=0
for road in jump glide tremble; do
    for try in $(seq 1 10); do
        if [ $road = jump ]; then
            xdotool mousemove $AWAY; sleep 1.5
            n=$(wc -l <"$OUT/log.txt")
            xdotool mousemove $KA
        elif [ $road = tremble ]; then
            # Jumps on, then trembles (up to 12 px either way, 30 moves a second) until a press or 2 s.
            xdotool mousemove $AWAY; sleep 1.5
            n=$(wc -l <"$OUT/log.txt")
            xdotool mousemove $KA
            stopped=$(date +%s%3N)
            for i in $(seq 1 60); do
                xdotool mousemove $((866 + RANDOM % 25 - 12)) $((197 + RANDOM % 25 - 12)); sleep 0.033
                tail -n +$((n + 1)) "$OUT/log.txt" | grep -q 'dwell press' && break
            done
        else
            xdotool mousemove $TEXT; sleep 1.5
            n=$(wc -l <"$OUT/log.txt")
            glide=""
            for i in $(seq 1 15); do
                glide+=" mousemove $((500 + (866 - 500) * i / 15)) $((80 + (197 - 80) * i / 15)) sleep 0.0167"
            done
            xdotool $glide
        fi
        [ $road = tremble ] || stopped=$(date +%s%3N)
        got=$(press "$n")
        if [ -z "$got" ]; then
            echo "$road $try never"
        else
            after=$((${got%% *} - stopped))
            echo "$road $try ${after} ms: ${got#* }"
            # A trembling pointer is timed from its arrival, and may take a little longer.
            late=1200; [ $road = tremble ] && late=1600
            [[ "${got#* }" == *'"grdBoard" 0 8'* && $after -ge 750 && $after -le $late ]] && good=$((good + 1))
            xdotool mousemove $BACK click 1 # closes the selection screen
        fi
        xdotool mousemove $AWAY; sleep 0.3
    done
done
echo "pressed か on time: $good of 30"
# Then five times onto け, and the pointer stays 3 s after the press: the selection screen opens
# under it with a character where け was, which must not be pressed.
KE="866 423"; calm=0
for try in $(seq 1 5); do
    xdotool mousemove $AWAY; sleep 1.5
    n=$(wc -l <"$OUT/log.txt")
    xdotool mousemove $KE
    got=$(press "$n")
    sleep 3
    more=$(tail -n +$((n + 1)) "$OUT/log.txt" | grep -c 'dwell press')
    echo "stay $try: ${got#* }, then $((more - 1)) more while still"
    [ -n "$got" ] && [ "$more" -eq 1 ] && calm=$((calm + 1))
    xdotool mousemove $BACK click 1
    xdotool mousemove $AWAY; sleep 0.3
done
echo "held still after pressing け, nothing more pressed: $calm of 5"
kill $pid
pulseaudio --kill 2>/dev/null
