#!/usr/bin/env bash
# Builds the Linux plug-ins and plughost, then plays the bundled phrase examples/demo.mid
# through every plug-in of the suite with a setting that shows what it does. Prints the first
# events going in and coming out of each and writes the results into build/demo/: one MIDI file
# per plug-in, Sorvane's processed audio as WAV, and, when Debian's amsynth is installed, the
# Tavrune and Scalomir results played by it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh native

echo "==> Building the native target (build/native)"
cmake --preset native >/dev/null
cmake --build --preset native --target \
    scalomir brenlit valdrin sorvane kelvost marquil tavrune lunfeth gavorn pellix \
    plughost testhost

bin=build/native/bin
out=build/demo
rm -rf "$out"
mkdir -p "$out"
rows=8

# The first rows of each "events in" and "events out" table that plughost --print shows.
shorten() {
    awk -v rows="$rows" '
        /^plug-in / { next }
        /events (in|out)/ { print; shown = -1; next }
        shown < rows { print; shown++ }
        shown == rows { print "    ..."; shown++ }'
}

play() {
    local plugin=$1 description=$2
    shift 2
    echo
    echo "==> ${plugin}: ${description}"
    # Sorvane sends no MIDI; its result is audio.
    local midi_out=()
    [[ $plugin == sorvane ]] || midi_out=(--out "${out}/${plugin}.mid")
    "${bin}/plughost" run "${bin}/${plugin}.so" --midi examples/demo.mid "${midi_out[@]}" \
        --print "$@" | shorten
    [[ $plugin == sorvane ]] || echo "    wrote ${out}/${plugin}.mid"
}

tavrune_setting=(--param 0=0.55)
scalomir_setting=(--param 13=0.52)
play scalomir "C major, one scale step up: out-of-scale notes go to the nearest scale note" \
    "${scalomir_setting[@]}"
play brenlit "the modulation wheel (controller 1) only from value 77 up" \
    --param 2=0.0079 --param 0=0.6
play valdrin "only notes 64 to 127" --param 0=0.5
play kelvost "only velocities above 88" --param 0=0.7
play marquil "everything moved to channel 9" --param 0=0.5
play tavrune "up an octave" "${tavrune_setting[@]}"
play lunfeth "only note 60" --param 0=0.4725
play gavorn "velocities doubled" --param 0=0.5
play pellix "modulation wheel renumbered to volume (controller 7), one block later" \
    --param 0=0.0118 --param 1=0.059

envelope=(--param 4=0 --param 0=0.05 --param 1=0.1 --param 3=0.2)
play sorvane "a 220 Hz tone shaped by attack 0.05 s, decay 0.1 s, sustain 0.5, release 0.2 s" \
    --tone 220 --audio-out "${out}/sorvane.wav" "${envelope[@]}"
echo "    wrote ${out}/sorvane.wav; the gain it applies while one note is held:"
"${bin}/testhost" "${bin}/sorvane.so" "${envelope[@]}" | sed -n '/^audio:/,$p'

amsynth=/usr/lib/vst/amsynth_vst.so
if [[ -f "$amsynth" ]]; then
    echo
    "${bin}/plughost" run "${bin}/tavrune.so" "$amsynth" --midi examples/demo.mid \
        --audio-out "${out}/tavrune-amsynth.wav" "${tavrune_setting[@]}"
    echo "==> tavrune played by amsynth: wrote ${out}/tavrune-amsynth.wav"
    "${bin}/plughost" run "${bin}/scalomir.so" "$amsynth" --midi examples/demo.mid \
        --audio-out "${out}/scalomir-amsynth.wav" "${scalomir_setting[@]}"
    echo "==> scalomir played by amsynth: wrote ${out}/scalomir-amsynth.wav"
else
    echo
    echo "(Install Debian's amsynth package to hear the Tavrune and Scalomir results.)"
fi
