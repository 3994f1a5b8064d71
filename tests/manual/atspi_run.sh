#!/bin/bash
# Runs atspi_names.py against a freshly started Pirokan, on its own X server,
# D-Bus session and AT-SPI bus, with settings and files in a scratch home:
#   [KANJI=1] tests/manual/atspi_run.sh build     (needs xvfb, dbus, at-spi2-core, python3-pyatspi)
BUILD=$(realpath "${1:-build}"); HERE=$(dirname "$(realpath "$0")"); OUT=${OUT:-/tmp/pirokan-atspi}
rm -rf "$OUT"; mkdir -p "$OUT/home"
export HOME=$OUT/home XDG_RUNTIME_DIR=$OUT/xdg; mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
# KANJI=1: with the strip of candidates and kana likely next, as a carer turns it on in 設定.
if [ "$KANJI" = 1 ]; then mkdir -p "$XDG_CONFIG_HOME/Talk"; printf '[OPT]\nKanji=1\n' >"$XDG_CONFIG_HOME/Talk/Talk.conf"; fi
# A sound server with a null sink, so the voice has somewhere to go.
pulseaudio -n --daemonize=yes --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=nullsink" 2>/dev/null
exec xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately & sleep 1
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$0/pirokan" >"$2/pirokan.log" 2>&1 & pid=$!
    sleep 5
    /usr/bin/python3 "$1/atspi_names.py"; rc=$?
    kill $pid; exit $rc' "$BUILD" "$HERE" "$OUT"
