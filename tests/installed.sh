#!/usr/bin/env bash
# Installs Pirokan into a scratch prefix and checks what a desktop finds there;
# then starts the installed program from another folder, as a menu would.
set -euo pipefail
build=$1 version=$2
scratch=$(mktemp -d)
trap 'if [ -n "${pid:-}" ]; then kill "$pid" 2>/dev/null || true; fi; rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

id=jp.pirokan.Pirokan
for f in bin/pirokan share/pirokan/genie.acs share/pirokan/carewords.tsv share/applications/$id.desktop \
         share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
         share/icons/hicolor/256x256/apps/$id.png share/metainfo/$id.metainfo.xml \
         share/man/man1/pirokan.1.gz share/doc/pirokan/README.md share/doc/pirokan/copyright; do
    [ -f "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
"$prefix/bin/pirokan" --version >"$scratch/version"
[ "$(head -n1 "$scratch/version")" = "pirokan $version" ] && grep -q 'GPL-3.0-or-later' "$scratch/version" ||
    { cat "$scratch/version"; echo "wrong --version"; exit 1; }
"$prefix/bin/pirokan" --help | grep -q "Troubleshooting" || { echo "--help says nothing of troubleshooting"; exit 1; }
grep -q '^License: GPL-3.0-or-later$' "$prefix/share/doc/pirokan/copyright" || { echo "copyright lacks the licence"; exit 1; }
metainfo=$prefix/share/metainfo/$id.metainfo.xml
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" || { echo "metainfo lacks the licence"; exit 1; }
# Pirokan has no web or mail address yet; the metadata must not invent one.
! grep -Eq '://|@' "$metainfo" || { grep -E '://|@' "$metainfo"; echo "metainfo names an address"; exit 1; }
zcat "$prefix/share/man/man1/pirokan.1.gz" | grep -q '^\.TH PIROKAN 1' || { echo "no manual page"; exit 1; }

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/$id.desktop"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml" >"$scratch/as.log" 2>&1 ||
        { cat "$scratch/as.log"; exit 1; }
fi

# Started from elsewhere, it finds its character file in the installed data folder.
mkdir -p "$scratch/home" "$scratch/run" "$scratch/elsewhere"
chmod 700 "$scratch/run"
cd "$scratch/elsewhere"
HOME=$scratch/home XDG_RUNTIME_DIR=$scratch/run XDG_CONFIG_HOME=$scratch/home/.config \
XDG_DATA_HOME=$scratch/home/.local/share XDG_CACHE_HOME=$scratch/home/.cache \
QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='pirokan.*=true' \
    "$prefix/bin/pirokan" 2>"$scratch/log" &
pid=$!
for _ in $(seq 1 200); do
    grep -q "started" "$scratch/log" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
grep -q "started" "$scratch/log" || { cat "$scratch/log"; echo "the installed program did not start"; exit 1; }
echo "installed tree and program: ok"
