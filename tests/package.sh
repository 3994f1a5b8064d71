#!/usr/bin/env bash
# Builds the .deb and checks its control fields and files; lintian, where it is
# installed, must find no errors or warnings.
set -euo pipefail
build=$1 version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$build" && cpack -G DEB -B "$scratch" >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; exit 1; }
deb=$(ls "$scratch"/pirokan_*.deb)
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = pirokan ] && [ "$(field Version)" = "$version" ] || { echo "wrong name or version"; exit 1; }
for dep in open-jtalk open-jtalk-mecab-naist-jdic espeak-ng-data fonts-ipafont-gothic libqt6widgets6 libpulse0 \
    libsndfile1 libsoxr0 libebur128-1; do
    field Depends | grep -q "$dep" || { echo "Depends lacks $dep: $(field Depends)"; exit 1; }
done
field Recommends | grep -q hts-voice-nitech-jp-atr503-m001 || { echo "the voice is not recommended"; exit 1; }
[[ $(dpkg-deb -I "$deb") == *GPL-3.0-or-later* ]] || { echo "the package does not name its licence"; exit 1; }
files=$(dpkg-deb -c "$deb")
for f in ./usr/bin/pirokan ./usr/share/pirokan/genie.acs ./usr/share/applications/jp.pirokan.Pirokan.desktop \
         ./usr/share/metainfo/jp.pirokan.Pirokan.metainfo.xml ./usr/share/man/man1/pirokan.1.gz \
         ./usr/share/doc/pirokan/copyright; do
    grep -q " $f\$" <<<"$files" || { echo "not in the package: $f"; exit 1; }
done
if command -v lintian >/dev/null; then
    lintian --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1 || true
    cat "$scratch/lintian.log"
    ! grep -q '^[EW]:' "$scratch/lintian.log" || { echo "lintian found errors or warnings"; exit 1; }
fi
echo "package $deb: ok"
