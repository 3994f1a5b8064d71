#!/usr/bin/env bash
# Counts the #include "..." lines that run from one folder of src/ to another:
# one row per including folder, one column per included folder.
set -euo pipefail
cd "$(dirname "$0")/../src"
pairs=$(grep -rHo '^#include "[^"]*/[^"]*"' --include='*.cpp' --include='*.h' -- */ |
    sed -E 's#^([^/]+)/[^:]*:\#include "([^/]+)/.*"#\1 \2#' | awk '$1 != $2')
folders=$(printf '%s\n' $pairs | sort -u)
printf '%-9s' 'from\to'; for t in $folders; do printf ' %8s' "$t"; done; echo
for f in $folders; do
    printf '%-9s' "$f"
    for t in $folders; do
        n=$(grep -c "^$f $t\$" <<<"$pairs" || true)
        printf ' %8s' "$([ "$n" = 0 ] && echo . || echo "$n")"
    done
    echo
done
