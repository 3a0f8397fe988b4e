#!/usr/bin/env bash
# What the accessibility tree costs: the game's start-up and its spins under Xvfb, three ways, in
# one private D-Bus session:
#   - plain: no accessibility bus, as for a player without assistive technology;
#   - bus: the desktop's accessibility bus running and Qt's bridge on it
#     (QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1), but nobody reading;
#   - reader: the same with a client that reads the whole tree once the window is up and then
#     listens to every change the game tells, as a screen reader does (pyatspi).
# Prints, for each, the start-up to the first paint at 800x600 (median of runs, each in an empty
# home) and the game's CPU over 10 spins (Space, 2 s apart) as % of one core.
#   bench/with_accessibility_bus.sh [GAME WAIT_FOR_WINDOW]    (build/... by default)
# Needs at-spi2-core, python3-pyatspi, dbus. ZELMAR_STARTUP_RUNS sets the number of start-up runs.
set -euo pipefail
if [ -z "${ZELMAR_BENCH_SESSION:-}" ]; then
  ZELMAR_BENCH_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi
game=$(realpath "${1:-build/zelmar-slots}")
waiter=$(realpath "${2:-build/wait_for_window}")
runs=${ZELMAR_STARTUP_RUNS:-7}
spins=10
title="Zelmar Slots"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY XDG_CONFIG_HOME XDG_CACHE_HOME QT_LINUX_ACCESSIBILITY_ALWAYS_ON

work=$(mktemp -d)
xvfb=""
helpers=()
cleanup() {
  for pid in "${helpers[@]}" $xvfb; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/screen.sh"

fresh_home() {
  local home
  home=$(mktemp -d "$work/home.XXXXXX")
  echo "HOME=$home XDG_DATA_HOME=$home/.local/share"
}
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
now_ns() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# A client that reads the game's tree as a screen reader does and hears what it tells.
cat >"$work/reader.py" <<'EOF'
import time, pyatspi
from gi.repository import GLib
heard = [0]
def on_event(event):
    heard[0] += 1
for kind in ("object:property-change:accessible-name", "object:state-changed",
             "object:text-changed", "window"):
    pyatspi.Registry.registerEventListener(on_event, kind)
def walk(node):
    n = 1
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            child.name, child.getState(), child.queryComponent().getExtents(0)
            n += walk(child)
    return n
context = GLib.MainContext.default()
read = False
while True:
    desktop = pyatspi.Registry.getDesktop(0)
    if not read:
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "Zelmar Slots":
                walk(app)
                read = True
    while context.iteration(False):
        pass
    time.sleep(0.05)
EOF

start_screen 800x600
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
helpers+=("$launcher")
sleep 1

for mode in plain bus reader; do
  echo "$mode..." >&2
  extra=()
  reader=""
  case $mode in
    plain) extra=(NO_AT_BRIDGE=1 QT_ACCESSIBILITY=0) ;;
    bus) extra=(QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1) ;;
    reader)
      extra=(QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)
      /usr/bin/python3 "$work/reader.py" &
      reader=$!
      helpers+=("$reader")
      ;;
  esac
  : >"$work/$mode.times"
  for run in $(seq 0 "$runs"); do
    # shellcheck disable=SC2046
    times=$(env $(fresh_home) "${extra[@]}" "$waiter" "$title" "$game")
    if [ "$run" -gt 0 ]; then echo "$times" >>"$work/$mode.times"; fi
  done
  # shellcheck disable=SC2046
  env $(fresh_home) "${extra[@]}" "$game" >/dev/null 2>&1 &
  pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -1)
  sleep 4
  xdotool windowfocus --sync "$window"
  c0=$(cpu_ticks "$pid")
  t0=$(now_ns)
  for _ in $(seq $spins); do
    xdotool key space
    sleep 2
  done
  c1=$(cpu_ticks "$pid")
  t1=$(now_ns)
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  if [ -n "$reader" ]; then kill "$reader" 2>/dev/null || true; fi
  paint=$(cut -d' ' -f2 "$work/$mode.times" | median)
  cpu=$(awk -v c=$((c1 - c0)) -v t=$((t1 - t0)) -v hz="$(getconf CLK_TCK)" \
    'BEGIN { printf "%.2f", 100 * c / hz / (t / 1e9) }')
  printf "| %-7s | start-up to first paint %7s ms (median of %s) | %s spins: %6s %% core |\n" \
    "$mode" "$paint" "$runs" "$spins" "$cpu"
done
