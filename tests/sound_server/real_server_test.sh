#!/usr/bin/env bash
# The game's sound reaches a real sound server: PipeWire as a Debian desktop runs it (pipewire,
# wireplumber, pipewire-pulse, a null sink as the output), private to the test under a D-Bus
# session of its own. The game starts as a player starts it, with no SDL_AUDIODRIVER, twice,
# each time from a copy of the build's program and the files beside it:
#   - without its music tracks: what reaches the sink is the start-up sound, an effect;
#   - with its tracks and a silent start-up sound: what reaches the sink is the music.
# Each time the server must list the game's stream as a client of PipeWire's own API (not of its
# PulseAudio front, which costs the desktop four times as much), and the capture of the sink's
# monitor must not be silence. No timing is measured: each check waits, up to half a
# minute, far beyond what it needs, for what it looks for. Then the server restarts while the
# music plays, and the music must reach it again.
#   tests/sound_server/real_server_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
if [ -z "${ZELMAR_IN_DBUS_SESSION:-}" ]; then
  # (The session's bus says once that it may not raise its limit of open files.)
  exec env ZELMAR_IN_DBUS_SESSION=1 dbus-run-session -- bash "$0" "$@" \
    2> >(grep -v "Failed to set fd limit" >&2)
fi
source "$here/../../bench/pipewire_session.sh"

work=$(mktemp -d)
game_pid=""
capture_pid=""
cleanup() {
  for pid in $game_pid $capture_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  stop_pipewire
  rm -rf "$work"
}
trap cleanup EXIT
start_pipewire "$work/runtime"

# A copy of the program and what sits beside it, music tracks included or not.
copy_game() {
  local to=$1 with_tracks=$2 f
  mkdir -p "$to/sound"
  cp "$build/zelmar-slots" "$to/"
  cp "$build"/sound/* "$to/sound/"
  for f in "$build"/Zelmar*.* "$build"/*.hlp; do
    case "$f" in *.mid) [ "$with_tracks" = yes ] || continue ;; esac
    cp "$f" "$to/"
  done
}

# A 16-bit stereo WAVE file of a second of silence at 44.1 kHz.
silent_wave() {
  local bytes=$((44100 * 4))
  le32() {
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) \
      $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"
  }
  {
    printf 'RIFF'
    le32 $((36 + bytes))
    printf 'WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00'
    printf 'data'
    le32 $bytes
    head -c $bytes /dev/zero
  } >"$1"
}

# The loudest sample in the last second of the capture (signed 16-bit, little-endian).
loudest() {
  tail -c 192000 "$1" | od -An -v -td2 -w2 |
    awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }'
}

# Starts capturing the null sink's monitor into $capture.
start_capture() {
  capture="$work/capture.raw"
  : >"$capture"
  parec --device=zelmar_null.monitor --raw --format=s16le --rate=48000 --channels=2 \
    --latency-msec=20 >"$capture" &
  capture_pid=$!
}
stop_capture() {
  kill "$capture_pid"
  wait "$capture_pid" 2>/dev/null || true
  capture_pid=""
}

# Waits until the game's stream is in the server's graph and the capture holds sound; WHAT names
# the sound for the messages.
wait_for_sound() {
  local what=$1 stream="" level=0 until=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$until" ]; do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      echo "FAIL ($what): the game ended"
      cat "$work/game.log"
      return 1
    fi
    if [ -z "$stream" ]; then
      # The game's output node, by the game's process, and the API its client speaks.
      stream=$(pw-dump | awk -v pid="$game_pid" '
        /"application.process.id"/ { gsub(/[^0-9]/, ""); mine = ($0 == pid) }
        /"client.api"/ { api = $2 }
        /"media.class": "Stream\/Output\/Audio"/ { out = 1 }
        /^  }/ { if (mine && out) { print (api == "" ? "native" : api) } mine = 0; out = 0; api = "" }' |
        head -1)
    fi
    level=$(loudest "$capture")
    if [ -n "$stream" ] && [ "$level" -gt 300 ]; then break; fi
    sleep 0.1
  done
  if [ -z "$stream" ]; then
    echo "FAIL ($what): the server lists no output stream of the game"
    cat "$work/game.log"
    return 1
  fi
  if [ "$stream" != native ]; then
    echo "FAIL ($what): the game plays through $stream, not PipeWire's own API"
    return 1
  fi
  if [ "$level" -le 300 ]; then
    echo "FAIL ($what): the capture of the sink is silence (loudest sample $level)"
    cat "$work/game.log"
    return 1
  fi
  echo "ok: $what reaches the server through PipeWire's API (loudest sample $level)"
}

start_game() {
  HOME="$work/home" XDG_DATA_HOME="$work/home/data" QT_QPA_PLATFORM=offscreen \
    env -u SDL_AUDIODRIVER "$1/zelmar-slots" >"$work/game.log" 2>&1 &
  game_pid=$!
}
stop_game() {
  kill "$game_pid"
  wait "$game_pid" 2>/dev/null || true
  game_pid=""
}

copy_game "$work/effect" no
start_capture
start_game "$work/effect"
wait_for_sound "the start-up sound"
stop_game
stop_capture

copy_game "$work/music" yes
silent_wave "$work/music/Zelmar7.wav"
start_capture
start_game "$work/music"
wait_for_sound "the music"
stop_capture
# The server restarts while the game plays: the music comes back with it.
stop_pipewire
start_pipewire "$work/runtime"
start_capture
wait_for_sound "the music, after the server restarted,"
