#!/usr/bin/env bash
# CPU the game uses during a spin and while idle with the win cycle running, under Xvfb.
#   bench/cpu_usage.sh build/zelmar-slots [800x600]
set -euo pipefail
program=${1:-build/zelmar-slots}
size=${2:-800x600}
Xvfb -displayfd 3 -screen 0 ${size}x24 -nolisten tcp -noreset 3>/tmp/zelmar-display.$$ &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f /tmp/zelmar-display.$$' EXIT
for _ in $(seq 50); do [ -s /tmp/zelmar-display.$$ ] && break; sleep 0.1; done
export DISPLAY=:$(cat /tmp/zelmar-display.$$)
home=$(mktemp -d)
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} XDG_DATA_HOME=$home HOME=$home "$program" &
game=$!
id=$(xdotool search --sync --onlyvisible --name "Zelmar Slots" | head -1)
sleep 1
hz=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' /proc/$game/stat; }
now() { date +%s%N; }

# Space spins (the keys may lie below a wide, short screen).
xdotool windowfocus --sync "$id"
spins=10
c0=$(cpu); t0=$(now)
for _ in $(seq $spins); do
  xdotool key space
  sleep 1.25
done
c1=$(cpu); t1=$(now)
sleep 1
c2=$(cpu); t2=$(now)
sleep 10
c3=$(cpu); t3=$(now)
pct() { awk -v c="$1" -v t="$2" -v hz="$hz" 'BEGIN { printf "%.2f", 100 * c / hz / (t / 1e9) }'; }
echo "$size spinning ($spins spins, including any count-up): $(pct $((c1 - c0)) $((t1 - t0)))% of one core"
echo "$size idle with the win cycle running: $(pct $((c3 - c2)) $((t3 - t2)))% of one core"
kill $game; wait $game 2>/dev/null || true
rm -rf "$home"
