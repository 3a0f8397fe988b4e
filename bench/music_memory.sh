#!/usr/bin/env bash
# The game's resident memory over a long play with replacement tracks. The program runs from a
# folder of its own with its files beside it but without the recordings of its music, so that
# every track is synthesized as a replacement track is, and plays under Xvfb at rest, track after
# track. SDL's disk output to /dev/null, with a delay of 2 ms after each buffer of 46 ms, plays
# the music many times as fast as real time: how much was played is printed at the end (the
# bytes the game wrote, nearly all of them sound). The resident memory (VmRSS) is read every
# second; printed are its highest and lowest in each half minute. Flat means each track change
# gives back what the one before took.
#   bench/music_memory.sh [BUILD_FOLDER [MINUTES]]    (build and 3 by default)
#   cmake --build build --target bench_music_memory
set -euo pipefail
build=$(realpath "${1:-build}")
minutes=${2:-3}

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null SDL_DISKAUDIODELAY=2 QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY XDG_CONFIG_HOME XDG_CACHE_HOME

work=$(mktemp -d)
xvfb=""
game=""
cleanup() {
  for pid in $game $xvfb; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The program and what it reads beside itself; of the sound folder only the module.
mkdir -p "$work/game/sound" "$work/home"
cp "$build/zelmar-slots" "$build"/Zelmar* "$build/zelmar-slots.hlp" "$work/game/"
cp "$build/sound/zelmar-slots-sound.so" "$work/game/sound/"

source "$(dirname "$0")/screen.sh"
start_screen 1920x1080

HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" "$work/game/zelmar-slots" \
  >/dev/null 2>&1 &
game=$!
echo "resident memory of the game, every track synthesized:"
for half_minute in $(seq $((minutes * 2))); do
  highest=0
  lowest=""
  for _ in $(seq 30); do
    sleep 1
    rss=$(awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$game/status")
    highest=$(awk -v a="$highest" -v b="$rss" 'BEGIN { print (b > a) ? b : a }')
    lowest=$(awk -v a="${lowest:-$rss}" -v b="$rss" 'BEGIN { print (b < a) ? b : a }')
  done
  printf "%4d-%4d s: highest %6.1f MB, lowest %6.1f MB\n" $(((half_minute - 1) * 30)) \
    $((half_minute * 30)) "$highest" "$lowest"
done
played=$(awk '/^wchar:/ { printf "%.0f", $2 / (44100 * 4) }' "/proc/$game/io")
echo "music played: $played s (about $((played / 120)) tracks) in $((minutes * 60)) s"
