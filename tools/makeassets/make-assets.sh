#!/usr/bin/env bash
# Redraws the program's pictures and icons and renders its chime, into assets/ (or the folder given second);
# the pictures with painted captions also in English, into its en/.
#   tools/makeassets/make-assets.sh [build folder] [output folder]
# Needs Qt 6 with Qt SVG, CMake, Ninja, the font fonts-wqy-microhei, sox and lame. Safe to run again: every file is
# written afresh. The build never runs this; it uses the files committed under assets/.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build-makeassets}
out=${2:-$root/assets}

# A bell-like note: a few partials, each with an exponential decay (sox's logarithmic fade falls a fixed
# number of decibels per second) and a soft attack, so that nothing clicks.
#   note <wav> <start seconds> <fundamental Hz>
note() {
    local wav=$1 start=$2 fundamental=$3 parts=() ratio gain seconds
    while read -r ratio gain seconds; do
        parts+=("$wav.$ratio.wav")
        sox -n -r 44100 -c 1 "${parts[-1]}" \
            synth "$seconds" sine "$(awk -v f="$fundamental" -v r="$ratio" 'BEGIN { print f * r }')" \
            fade q 0.004 fade l 0 "$seconds" "$seconds" vol "$gain" pad "$start"
    done <<'PARTIALS'
1    0.60 2.6
2    0.20 1.5
2.76 0.10 0.9
5.4  0.04 0.4
PARTIALS
    sox -m "${parts[@]}" "$wav"
}

# Three rising notes of a C major chord, mixed, given a little room, and encoded as mp3.
chime() {
    local mp3=$1 tmp
    tmp=$(mktemp -d)
    note "$tmp/c.wav" 0.00 1046.50
    note "$tmp/e.wav" 0.16 1318.51
    note "$tmp/g.wav" 0.32 1567.98
    sox -m "$tmp/c.wav" "$tmp/e.wav" "$tmp/g.wav" "$tmp/chime.wav" pad 0 0.5 reverb 30 50 70 norm -3
    lame --quiet --noreplaygain -b 128 "$tmp/chime.wav" "$mp3"
    rm -rf "$tmp"
}

# The asset maker is built only when asked for; an existing build keeps its generator.
generator=()
[ -f "$build/CMakeCache.txt" ] || generator=(-G Ninja)
cmake -S "$root" -B "$build" "${generator[@]}" -DORVANE_EXTRAS=ON >/dev/null
cmake --build "$build" --target orvane-makeassets
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$build/tools/makeassets/orvane-makeassets" "$out"
chime "$out/1.mp3"
echo "assets written to $out"
