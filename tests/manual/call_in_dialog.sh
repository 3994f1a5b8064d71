#!/bin/bash
# The call keys in sight while a confirmation dialog is open, pressed with real clicks:
#   xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" tests/manual/call_in_dialog.sh build
# か is typed, 始め asks whether to start again; with the dialog open, a click
# where the main window's key stands (not shown now) must not call, and one on
# the dialog's key must. After the dialog, the main window's key is back and
# calls. Screenshots land in $OUT (dialog.png, after.png); each step prints ok or FAIL.
BUILD=$(realpath "${1:-build}"); OUT=${OUT:-/tmp/pirokan-call}; rm -rf "$OUT"; mkdir -p "$OUT"
export XDG_RUNTIME_DIR=$OUT/xdg; mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
pulseaudio -n --daemonize=yes --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=nullsink" 2>/dev/null
export HOME=$OUT/home; mkdir -p "$HOME/.config/Talk"
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
printf '[OPT]\nSamp=0\n' >"$XDG_CONFIG_HOME/Talk/Talk.conf" # no sentence list after a character
"$BUILD/pirokan" >"$OUT/log.txt" 2>&1 &
pid=$!
sleep 6
MAINKEY="33 62"; DIALOGKEY="888 246"; CANCEL="676 408"; START="755 697"
calls() { grep -c 'call started' "$OUT/log.txt"; }
check() { if [ "$1" = "$2" ]; then echo "ok   $3"; else echo "FAIL $3 (calls: $1, wanted $2)"; fi; }
xdotool mousemove 866 197 click 1; sleep 0.5 # か on the board
xdotool mousemove 510 390 click 1; sleep 0.5 # か on the selection screen
xdotool mousemove $START click 1; sleep 1
import -window root "$OUT/dialog.png"
xdotool mousemove $MAINKEY click 1; sleep 1
check "$(calls)" 0 "a click where the main window's key stands calls nothing while the dialog is open"
xdotool mousemove $DIALOGKEY click 1; sleep 1
check "$(calls)" 1 "the dialog's own key calls"
xdotool mousemove 400 230 click 1; sleep 0.5 # any press answers the call
xdotool mousemove $CANCEL click 1; sleep 1
import -window root "$OUT/after.png"
xdotool mousemove $MAINKEY click 1; sleep 1
check "$(calls)" 2 "after the dialog the main window's key calls"
kill $pid
pulseaudio --kill 2>/dev/null
