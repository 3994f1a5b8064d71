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
    (cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 600)

    echo "pirokan: checking the format of every source file"
    git -C "$here" ls-files -z -- '*.cpp' '*.h' | (cd "$here" && xargs -0 clang-format --dry-run --Werror)

    # The same tests once more, built with AddressSanitizer and UndefinedBehaviorSanitizer.
    sanitized="$here/build-sanitize"
    echo "pirokan: building the tests with sanitizers in $sanitized"
    cmake -S "$here" -B "$sanitized" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
    # Quiet when it builds; the whole log when it does not.
    cmake --build "$sanitized" --parallel "$(nproc)" >"$sanitized/build.log" 2>&1 ||
        { cat "$sanitized/build.log"; exit 1; }
    (cd "$sanitized" && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
        ctest --output-on-failure --parallel "$(nproc)" --timeout 900 -E '^(installed|package)$')
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
