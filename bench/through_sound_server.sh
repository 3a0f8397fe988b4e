#!/usr/bin/env bash
# The game at rest with its music through a real sound server, against a plain player of the
# same recording through the same server: PipeWire as a Debian desktop runs it (pipewire,
# wireplumber, pipewire-pulse, a null sink; bench/pipewire_session.sh), private to this run, on
# an Xvfb screen of 1920x1080. Each program plays alone for half a minute after 5 s of start-up;
# CPU time is read from /proc/PID/stat of each process. Two rounds:
#   - as the game starts by default (no SDL_AUDIODRIVER), against pw-play of the game's first
#     recording: the game and the server's processes together at most the plain player and its
#     server, and the game alone at most 0.3 % of a core;
#   - through the server's PulseAudio API (SDL_AUDIODRIVER=pulseaudio) against paplay, reported.
# Prints the rows for bench/against_bare_window.sh's table (figure|game|plain player|unit|goal).
#   bench/through_sound_server.sh GAME
set -euo pipefail
game=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
if [ -z "${ZELMAR_IN_DBUS_SESSION:-}" ]; then
  exec env ZELMAR_IN_DBUS_SESSION=1 dbus-run-session -- bash "$0" "$@" 2> >(grep -v "Failed to set fd limit" >&2)
fi
source "$here/pipewire_session.sh"

work=$(mktemp -d)
xvfb=""
player=""
cleanup() {
  if [ -n "$player" ]; then kill "$player" 2>/dev/null || true; fi
  stop_pipewire
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
source "$here/screen.sh"
start_pipewire "$work/runtime"
start_screen 1920x1080

# The recording of the first track, as the game plays it.
beside=$(dirname "$game")
hash=$(sha256sum "$beside/Zelmar0.mid" | cut -d' ' -f1)
recording=$(ls "$beside"/sound/music-"$hash".* | head -1)

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
now_ns() { date +%s%N; }
percent() {
  awk -v c="$1" -v t="$2" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", 100 * c / hz / (t / 1e9) }'
}
servers() { echo "$pipewire_pid $wireplumber_pid $pipewire_pulse_pid"; }
ticks_of() {
  local sum=0 pid
  for pid in "$@"; do sum=$((sum + $(cpu_ticks "$pid"))); done
  echo $sum
}

# Plays with the command after the environment given, and leaves "player% servers%" for the half
# minute of rest in $measured.
measure() {
  local environment=$1
  shift
  # shellcheck disable=SC2086
  env -u SDL_AUDIODRIVER $environment HOME="$work/home" XDG_DATA_HOME="$work/home/data" \
    QT_QPA_PLATFORM=xcb "$@" >"$work/player.log" 2>&1 &
  player=$!
  sleep 5
  local p0 s0 t0 p1 s1 t1
  p0=$(ticks_of "$player")
  s0=$(ticks_of $(servers))
  t0=$(now_ns)
  sleep 30
  p1=$(ticks_of "$player")
  s1=$(ticks_of $(servers))
  t1=$(now_ns)
  kill "$player"
  wait "$player" 2>/dev/null || true
  player=""
  rm -rf "$work/home"
  measured="$(percent $((p1 - p0)) $((t1 - t0))) $(percent $((s1 - s0)) $((t1 - t0)))"
}
both() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a + b }'; }

echo "through PipeWire as the game starts..." >&2
measure "" "$game"
read -r game_pw server_game_pw <<<"$measured"
echo "pw-play of $(basename "$recording")..." >&2
measure "" pw-play "$recording"
read -r plain_pw server_plain_pw <<<"$measured"
echo "through the PulseAudio API..." >&2
measure "SDL_AUDIODRIVER=pulseaudio" "$game"
read -r game_pa server_game_pa <<<"$measured"
echo "paplay of $(basename "$recording")..." >&2
measure "" paplay "$recording"
read -r plain_pa server_plain_pa <<<"$measured"

echo "CPU at rest, music through PipeWire, as started: game + servers|$(both "$game_pw" "$server_game_pw")|$(both "$plain_pw" "$server_plain_pw")|% core|plus<=0"
echo "  the game alone (pw-play alone)|$game_pw|$plain_pw|% core|game<=0.3"
echo "CPU at rest, music through the PulseAudio API: game + servers|$(both "$game_pa" "$server_game_pa")|$(both "$plain_pa" "$server_plain_pa")|% core|"
echo "  the game alone (paplay alone)|$game_pa|$plain_pa|% core|"
