#!/usr/bin/env bash
# Installs the Debian packages Pirokan needs, only those that are missing.
set -euo pipefail

packages=(
    cmake g++ ninja-build pkg-config
    qt6-base-dev qt6-charts-dev libgl-dev libpulse-dev libsndfile1-dev libsoxr-dev libebur128-dev
    fonts-ipafont-gothic
    open-jtalk open-jtalk-mecab-naist-jdic hts-voice-nitech-jp-atr503-m001
    libespeak-ng-dev espeak-ng-data
    mozc-server emacs-mozc-bin libmecab-dev mecab-naist-jdic
    xvfb xauth imagemagick
    pulseaudio pulseaudio-utils xdotool x11-xserver-utils
    desktop-file-utils appstream dpkg-dev lintian
)
voice=hts-voice-nitech-jp-atr503-m001

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "pirokan: all packages are installed."
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

echo "pirokan: installing missing packages: ${missing[*]}"
$sudo apt-get update -qq

# The Japanese voice lives in Debian's "contrib" component.
if ! apt-cache policy "$voice" | grep -q 'Candidate: [0-9]'; then
    echo "pirokan: enabling Debian's contrib component for the Japanese voice ($voice)"
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        $sudo sed -i -E '/^Components:/{/\bcontrib\b/! s/$/ contrib/}' "$f"
    done
    if [ -f /etc/apt/sources.list ]; then
        $sudo sed -i -E '/^deb(-src)? .*\bmain\b/{/\bcontrib\b/! s/$/ contrib/}' /etc/apt/sources.list
    fi
    $sudo apt-get update -qq
fi

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
