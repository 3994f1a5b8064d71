#!/usr/bin/env bash
# Installs the Debian packages Pirokan needs, only those that are missing.
set -euo pipefail

packages=(
    cmake g++ ninja-build pkg-config
    qt6-base-dev qt6-multimedia-dev libgl-dev
    fonts-ipafont-gothic
    xvfb xauth imagemagick
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "pirokan: all build and run packages are installed."
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "pirokan: installing missing packages: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
