#!/usr/bin/env bash
# The game against a bare Qt window with a menu bar (bench/bare_window.cpp), both measured in the
# same run under Xvfb, with the game's music playing in real time (SDL's disk output to
# /dev/null). Prints one table, with the goals the game must meet:
#   - resident memory (VmRSS) with the music playing, at 800x600 and at 1920x1080: at most 2x;
#   - CPU as % of one core at 1920x1080 with the music: at rest before any spin (the music's own
#     cost, a recording decoded in real time): at most 0.3 %; over 10 spins (Space, 1.25 s
#     apart): at most the bare window's plus 0.5 %; and then idle (the win cycle may be
#     running). The bare window
#     answers each Space with the frames of a spin's turning reels and nothing else
#     (bare_window --turn-reels): the least a spin can draw in plain Qt, without music;
#   - start-up, from the program's start to its window mapped and to the window's first paint,
#     median of 7 runs each (the programs taking turns, after one run of each to warm the
#     system's caches), at 800x600 and at 1920x1080: at most 1.3x. The game is timed as a player
#     starts it every day, with the art laid out for the screen kept by an earlier start, and
#     also, for the record, as on its first start with nothing kept;
#   - CPU at rest with the music through a real PipeWire server against a plain player of the
#     same recording (bench/through_sound_server.sh): the game and the server together at most
#     the plain player and its server, the game alone at most 0.3 %; through the server's
#     PulseAudio API, reported;
#   - the Debian package's installed size, at most 22 MB, and what its dependencies add
#     (bench/package_size.sh).
# Each program starts with an empty home of its own (HOME, XDG_DATA_HOME).
#   bench/against_bare_window.sh [GAME BARE_WINDOW WAIT_FOR_WINDOW]    (build/... by default)
#   cmake --build build --target bench_against_bare
# ZELMAR_STARTUP_RUNS sets the number of start-up runs.
set -euo pipefail
game=$(realpath "${1:-build/zelmar-slots}")
bare=$(realpath "${2:-build/bare_window}")
waiter=$(realpath "${3:-build/wait_for_window}")
runs=${ZELMAR_STARTUP_RUNS:-7}
spins=10
game_title="Zelmar Slots"
bare_title="Bare Window"

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY XDG_CONFIG_HOME XDG_CACHE_HOME

work=$(mktemp -d)
xvfb=""
running=()
cleanup() {
  for pid in "${running[@]}" $xvfb; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# start_screen SIZE / stop_screen: a black Xvfb screen in $work, its process in $xvfb.
source "$(dirname "$0")/screen.sh"

# The environment of a program that starts in an empty home of its own.
fresh_home() {
  local home
  home=$(mktemp -d "$work/home.XXXXXX")
  echo "HOME=$home XDG_DATA_HOME=$home/.local/share"
}

# Starts a program (with any arguments after it) and waits for its window; its process id is left
# in $launched, its window's id in $window.
launch() {
  local title=$1 program=$2
  shift 2
  # shellcheck disable=SC2046
  env $(fresh_home) "$program" "$@" >/dev/null 2>&1 &
  launched=$!
  running+=("$launched")
  if ! window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -1) ||
    [ -z "$window" ]; then
    echo "$program: no window \"$title\" came up" >&2
    exit 1
  fi
}
stop() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
  local left=() pid
  for pid in "${running[@]}"; do [ "$pid" = "$1" ] || left+=("$pid"); done
  running=("${left[@]}")
}

rss_mb() { awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
now_ns() { date +%s%N; }
cpu_percent() {
  awk -v c="$1" -v t="$2" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", 100 * c / hz / (t / 1e9) }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

rows="$work/rows"
: >"$rows"
# A row of the table: figure, game, bare window, unit, goal ("ratio<=N", "game<=N", "plus<=N":
# at most the bare window's plus N, or "").
row() { echo "$1|$2|$3|$4|$5" >>"$rows"; }

# 1. Resident memory with the music playing: both programs, a few seconds after their windows
# came up, by which time the game's first track is playing.
for size in 800x600 1920x1080; do
  echo "memory at $size..." >&2
  start_screen "$size"
  launch "$game_title" "$game"
  game_pid=$launched
  launch "$bare_title" "$bare"
  bare_pid=$launched
  sleep 6
  row "resident memory, music playing, $size" "$(rss_mb "$game_pid")" "$(rss_mb "$bare_pid")" MB \
    "ratio<=2"
  stop "$game_pid"
  stop "$bare_pid"
done

# 2. CPU at 1920x1080: half a minute at rest, the same keys to each program alone, then ten
# seconds of rest.
start_screen 1920x1080
declare -A resting spinning idle
for who in game bare; do
  echo "CPU of the $who..." >&2
  if [ "$who" = game ]; then
    launch "$game_title" "$game"
  else
    launch "$bare_title" "$bare" --turn-reels
  fi
  pid=$launched
  sleep 5 # start-up is over and the music plays
  r0=$(cpu_ticks "$pid")
  q0=$(now_ns)
  sleep 30 # a tick of the CPU clock is a thirtieth of the goal
  r1=$(cpu_ticks "$pid")
  q1=$(now_ns)
  xdotool windowfocus --sync "$window"
  c0=$(cpu_ticks "$pid")
  t0=$(now_ns)
  for _ in $(seq $spins); do
    xdotool key space
    sleep 1.25
  done
  c1=$(cpu_ticks "$pid")
  t1=$(now_ns)
  sleep 1
  c2=$(cpu_ticks "$pid")
  t2=$(now_ns)
  sleep 10
  c3=$(cpu_ticks "$pid")
  t3=$(now_ns)
  resting[$who]=$(cpu_percent $((r1 - r0)) $((q1 - q0)))
  spinning[$who]=$(cpu_percent $((c1 - c0)) $((t1 - t0)))
  idle[$who]=$(cpu_percent $((c3 - c2)) $((t3 - t2)))
  stop "$pid"
done
row "CPU, at rest before a spin at 1920x1080, music playing" "${resting[game]}" "${resting[bare]}" \
  "% core" "game<=0.3"
row "CPU, $spins spins at 1920x1080, music playing" "${spinning[game]}" "${spinning[bare]}" \
  "% core" "plus<=0.5"
row "CPU, idle at 1920x1080, music playing" "${idle[game]}" "${idle[bare]}" "% core" ""

# 3. Start-up: the programs take turns, each run in an empty home. The game starts twice per
# turn: as a player starts it every day, with the art laid out for the screen kept in its cache
# folder by an earlier start (the goal), and as on its very first start, with nothing kept.
for size in 800x600 1920x1080; do
  echo "start-up at $size..." >&2
  start_screen "$size"
  kept="$work/kept-$size"
  # An earlier start that lives past its start-up keeps the laid-out art.
  # shellcheck disable=SC2046
  env $(fresh_home) XDG_CACHE_HOME="$kept" "$game" >/dev/null 2>&1 &
  earlier=$!
  sleep 2
  kill "$earlier"
  wait "$earlier" 2>/dev/null || true
  for who in later first bare; do : >"$work/$who.times"; done
  for run in $(seq 0 "$runs"); do
    for who in later first bare; do
      # shellcheck disable=SC2046
      case $who in
        later) times=$(env $(fresh_home) XDG_CACHE_HOME="$kept" "$waiter" "$game_title" "$game") ;;
        first) times=$(env $(fresh_home) "$waiter" "$game_title" "$game") ;;
        bare) times=$(env $(fresh_home) "$waiter" "$bare_title" "$bare") ;;
      esac
      if [ "$run" -gt 0 ]; then echo "$times" >>"$work/$who.times"; fi
    done
  done
  row "start-up to the window mapped, $size, median of $runs" \
    "$(cut -d' ' -f1 "$work/later.times" | median)" "$(cut -d' ' -f1 "$work/bare.times" | median)" \
    ms "ratio<=1.3"
  row "start-up to the first paint, $size, median of $runs" \
    "$(cut -d' ' -f2 "$work/later.times" | median)" "$(cut -d' ' -f2 "$work/bare.times" | median)" \
    ms "ratio<=1.3"
  row "  the same, first start (nothing kept), $size" \
    "$(cut -d' ' -f2 "$work/first.times" | median)" "$(cut -d' ' -f2 "$work/bare.times" | median)" \
    ms ""
done
stop_screen

# 4. Through a real sound server (PipeWire, private to the run), at rest with the music, against
# a plain player of the same recording (bench/through_sound_server.sh): its "bare window" column
# is the plain player's.
echo "through a sound server..." >&2
"$(dirname "$0")/through_sound_server.sh" "$game" >>"$rows"

# 5. The Debian package made from the game's build folder (bench/package_size.sh).
echo "package size..." >&2
"$(dirname "$0")/package_size.sh" "$(dirname "$game")" >>"$rows"

echo
echo "Zelmar Slots against a bare Qt window with a menu bar (Xvfb, music to SDL's disk output)"
echo "While spinning, the bare window turns reels like the game's (no music, nothing else drawn)."
echo "Through the sound server, the plain player of the same recording stands in the bare window's"
echo "column (pw-play, paplay); the package's figures have none."
awk -F'|' '
  BEGIN {
    printf "| %-54s | %12s | %12s | %6s | %-16s |\n", "figure", "game", "bare window", "ratio", "goal"
    printf "|%s|%s|%s|%s|%s|\n", "--------------------------------------------------------",
      "--------------", "--------------", "--------", "------------------"
  }
  {
    ratio = ($3 >= 0.5) ? sprintf("%.2fx", $2 / $3) : "-"  # no ratio to a program at rest
    goal = ""
    if ($5 ~ /^ratio<=/) {
      limit = substr($5, 8) + 0
      goal = sprintf("%s %sx", ($3 > 0 && $2 / $3 <= limit) ? "met, <=" : "MISSED, <=", limit)
    } else if ($5 ~ /^game<=/) {
      limit = substr($5, 7) + 0
      goal = sprintf("%s %s", ($2 <= limit) ? "met, <=" : "MISSED, <=", limit)
    } else if ($5 ~ /^plus<=/) {
      limit = substr($5, 7) + 0
      goal = sprintf("%s +%s", ($2 <= $3 + limit) ? "met, <= bare" : "MISSED, <= bare", limit)
    }
    printf "| %-54s | %12s | %12s | %6s | %-16s |\n", $1, $2 " " $4, $3 " " $4, ratio, goal
  }' "$rows"
