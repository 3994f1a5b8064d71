#!/bin/bash
# The timing that follows a one-switch user, by hand: run under Xvfb
#   xvfb-run -a -s "-screen 0 1280x1024x24" tests/manual/follow_switch.sh build
# One switch, 1.2 s, columns, the pressed character first, the timing on. A
# driver presses Space 0.5 s after the highlight reaches what it wants for
# PRESSES presses, then makes LATE presses far too late; 操作方法 is opened
# (Esc held) after each part and shot: $OUT/follow-quick.png, follow-late.png.
BUILD=$(realpath "${1:-build}"); OUT=${OUT:-/tmp/pirokan-follow}; mkdir -p "$OUT"
PRESSES=${PRESSES:-99}; LATE=${LATE:-4}
HERE=$(dirname "$(realpath "$0")")
export XDG_RUNTIME_DIR=$OUT/xdg; mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
pulseaudio -n --daemonize=yes --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=nullsink" 2>/dev/null
export HOME=$OUT/home; rm -rf "$HOME"; mkdir -p "$HOME"
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
mkdir -p "$XDG_CONFIG_HOME/Talk"
printf '[Access]\nMethod=2\nScanMs=1200\nColumnFirst=1\nPickFirst=1\nFollowTiming=1\n' \
    >"$XDG_CONFIG_HOME/Talk/Talk.conf"
QT_LOGGING_RULES="pirokan.access.debug=true" QT_MESSAGE_PATTERN="%{time process} %{message}" \
    "$BUILD/pirokan" >"$OUT/log.txt" 2>&1 &
APP=$!
sleep 5
xdotool mousemove 500 80
xset r off 2>/dev/null # a held Esc is one press, not a repeating key
# 操作方法 by holding Esc, a shot, and out again by キャンセル (clicked: the mouse is no switch here).
dialog() {
    sleep 3 # the values reached are kept two seconds after the last press
    xdotool keydown Escape; sleep 4; xdotool keyup Escape; sleep 1
    import -window root "$OUT/$1.png"
    grep FollowScan "$XDG_CONFIG_HOME/Talk/Talk.conf"
    xdotool mousemove 340 679 click 1; sleep 1; xdotool mousemove 500 80
}
python3 "$HERE/follow_switch.py" "$OUT/log.txt" 0.5 "$PRESSES" 0 && dialog follow-quick
python3 "$HERE/follow_switch.py" "$OUT/log.txt" 0.5 0 "$LATE" && dialog follow-late
kill $APP
