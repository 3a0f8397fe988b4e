#!/usr/bin/env bash
# Process start to the window on screen, under Xvfb, at two screen widths.
#   bench/startup_time.sh build/zelmar-slots
set -euo pipefail
program=${1:-build/zelmar-slots}
for size in 800x600 1920x1080; do
  Xvfb -displayfd 3 -screen 0 ${size}x24 -nolisten tcp -noreset 3>/tmp/zelmar-display.$$ &
  xvfb=$!
  for _ in $(seq 50); do [ -s /tmp/zelmar-display.$$ ] && break; sleep 0.1; done
  export DISPLAY=:$(cat /tmp/zelmar-display.$$)
  home=$(mktemp -d)
  total=0
  runs=5
  for _ in $(seq $runs); do
    start=$(date +%s%N)
    SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} XDG_DATA_HOME=$home HOME=$home "$program" &
    game=$!
    until xdotool search --onlyvisible --name "Zelmar Slots" >/dev/null 2>&1; do sleep 0.01; done
    end=$(date +%s%N)
    kill $game; wait $game 2>/dev/null || true
    total=$(( total + (end - start) / 1000000 ))
  done
  echo "$size: process start to window shown, mean of $runs runs: $(( total / runs )) ms"
  kill $xvfb; wait $xvfb 2>/dev/null || true
  rm -rf "$home" /tmp/zelmar-display.$$
done
