#!/usr/bin/env bash
# Renders every music track the way the game plays it (FluidSynth, the General MIDI sound font,
# the player's music gain) and prints the peak and RMS level of each track and effect, so the
# levels can be compared after a change. Needs the packages fluidsynth and sox.
#   tools/make_sounds/check_levels.sh [art folder]
set -euo pipefail
art=${1:-$(dirname "$0")/../../art}
font=/usr/share/sounds/sf2/FluidR3_GM.sf2
gain=$(sed -n 's/^constexpr double kMusicGain = \(.*\);/\1/p' "$(dirname "$0")/../../platform/sdl_sound_player.cpp")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
level() {
  sox "$1" -n stat 2>&1 | awk -v name="$2" '
    /^Length/ {len=$3} /^Maximum amplitude/ {max=$3} /^Minimum amplitude/ {min=-$3}
    /^RMS +amplitude/ {rms=$3}
    END {peak = max > min ? max : min;
         printf "%-16s %7.2f s  peak %6.1f dBFS  RMS %6.1f dBFS\n", name, len,
                20*log(peak)/log(10), 20*log(rms)/log(10)}'
}
for mid in "$art"/beside/*.mid; do
  fluidsynth -ni -g "$gain" -r 44100 -F "$tmp/track.wav" "$font" "$mid" >/dev/null 2>&1
  level "$tmp/track.wav" "$(basename "$mid")"
done
for wav in "$art"/beside/*.wav "$art"/sounds/*.wav; do level "$wav" "$(basename "$wav")"; done
