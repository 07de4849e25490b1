#!/usr/bin/env bash
# Builds the Linux plug-ins and plays the test host's phrase through every plug-in of the suite
# with a setting that shows what it does, printing the events that go in and come out (and,
# for Sorvane, the gain it puts on a second of audio).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh native

echo "==> Building the native target (build/native)"
cmake --preset native >/dev/null
cmake --build --preset native --target \
    scalomir brenlit valdrin sorvane kelvost marquil tavrune lunfeth gavorn pellix testhost

bin=build/native/bin
play() {
    local plugin=$1 description=$2
    shift 2
    echo
    echo "==> ${plugin}: ${description}"
    "${bin}/testhost" "${bin}/${plugin}.so" "$@"
}

play scalomir "C major, transposed one scale step up (parameter 13 at 0.52)" --param 13=0.52
play brenlit "controller 1 only from value 77 up (left limit 0.6)" --param 2=0.0079 --param 0=0.6
play valdrin "notes 64 to 127 only (left limit 0.5)" --param 0=0.5
play sorvane "attack 0.1 s, decay 0.2 s, sustain 0.5, release 0.3 s (segment scale 1 s)" \
    --param 4=0 --param 0=0.1 --param 1=0.2 --param 3=0.3
play kelvost "velocities above 88 only (left limit 0.7)" --param 0=0.7
play marquil "everything moved to channel 9 (value 0.5)" --param 0=0.5
play tavrune "shifted up an octave (value 0.55)" --param 0=0.55
play lunfeth "note 60 only (value 0.4725)" --param 0=0.4725
play gavorn "velocities doubled (gain 2, value 0.5)" --param 0=0.5
play pellix "controller 1 renumbered to 7, sent from the processing call" \
    --param 0=0.0118 --param 1=0.059
