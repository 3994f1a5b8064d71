#!/bin/bash
# One-switch scanning by hand, the way a user meets it: run under Xvfb
#   xvfb-run -a -s "-screen 0 1280x800x24" tests/manual/one_switch.sh build
# One-switch scanning is set as a carer sets it in 操作方法; then only the Space
# key is pressed. Screenshots land in $OUT (c1..c10); the pirokan.access log is
# read only to know when the highlight has come back to the board's first column.
BUILD=$(realpath "${1:-build}"); OUT=${OUT:-/tmp/pirokan-check}; mkdir -p "$OUT"
# A sound server with a null sink, so the voice has somewhere to go.
export XDG_RUNTIME_DIR=$OUT/xdg; mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
pulseaudio -n --daemonize=yes --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=nullsink" 2>/dev/null
export HOME=$OUT/home; rm -rf $HOME; mkdir -p $HOME
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
# As a carer leaves it in 操作方法: one switch, 1.0 s, columns, the pressed character first. (Set here
# rather than clicked, so the check does not hang on where the options dialog's keys stand.)
mkdir -p "$XDG_CONFIG_HOME/Talk"
printf '[Access]\nMethod=2\nScanMs=1000\nColumnFirst=1\nPickFirst=1\n' >"$XDG_CONFIG_HOME/Talk/Talk.conf"
QT_LOGGING_RULES="pirokan.access.debug=true" QT_MESSAGE_PATTERN="%{time process} %{message}" "$BUILD/pirokan" >"$OUT/log.txt" 2>&1 &
sleep 5
# T = 1 s: wait n and a half intervals after the last press, then press.
pick() { sleep $1.5; xdotool key space; }
shot() { import -window root "$OUT/$1.png"; }
# Waits for the highlight to arrive on the あ column (the board's first group), as the program's debug log says.
sync() { n=$(wc -l < "$OUT/log.txt"); for i in $(seq 1 2000); do tail -n +$((n+1)) "$OUT/log.txt" | grep -q 'highlight "あ" std::vector(0)' && return; sleep 0.02; done; }
char() { for n in "$@"; do pick $n; done; }
# Waits for a dialog's scan to start (a dialog offers its call key first, then its buttons).
dialog() { n=$(wc -l < "$OUT/log.txt"); for i in $(seq 1 2000); do tail -n +$((n+1)) "$OUT/log.txt" | grep -q "new screen \"$1\" with [1-9]" && return; sleep 0.02; done; }
# The pointer rests on the text; from the scan's first round on, only Space.
xdotool mousemove 500 80; sync
char 1 1 0        # き
char 7 2 1        # ょ, right after よ on the selection screen
char 0 2 0        # う
char 5 0 0        # は
char 0 0 4 0 4 1  # full-width space from the selection screen, then back
char 1 0 1        # が
char 3 2 2        # っ
char 1 4 0        # こ
char 0 2 0        # う
(shot c1) &
pick 10; (sleep 0.3; shot c2) &          # 読む
sleep 8; sync
char 12 2; (sleep 0.3; shot c3) &        # 例文追加
char 4 0; (sleep 0.3; shot c4) &         # 例文終了
char 12 0; (sleep 0.3; shot c5) &
dialog frmOK; pick 1; (sleep 0.3; shot c6) &   # 始め, answered ＯＫ (after the dialog's call key)
char 1 1 0; (sleep 0.3; shot c7) &       # き: the suggestion shows
char 0 1 2; (sleep 0.3; shot c8) &       # the sentence, 決定
char 12 1; (sleep 0.3; shot c9) &        # 例文表示
char 4 0; (sleep 0.3; shot c10) &        # 例文終了
sleep 3
