#!/usr/bin/env bash
# One entry point for people and CI:
#   ./pirokan.sh run    install what is missing, build and start Pirokan
#   ./pirokan.sh test   install what is missing, build and run every test headless
#   ./pirokan.sh package  install what is missing, build and make a .deb in build/
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$here/build"

"$here/scripts/deps.sh"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
echo "pirokan: building in $build"
cmake --build "$build" --parallel "$(nproc)"

case "${1:-run}" in
run)
    exec "$build/pirokan"
    ;;
test)
    cd "$build"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 600
    ;;
package)
    cd "$build"
    cpack -G DEB
    ls "$build"/pirokan_*.deb
    ;;
*)
    echo "usage: $0 [run|test|package]" >&2
    exit 2
    ;;
esac
