# Sourced by the bench scripts, which set $work (a folder of their own) and $xvfb (empty).
# A screen of the given size, black (the start-up waiter sees the first paint against black).
start_screen() {
  stop_screen
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -br -nolisten tcp -noreset 3>"$work/display" \
    2>/dev/null &
  xvfb=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
  done
  DISPLAY=:$(cat "$work/display")
  export DISPLAY
}
stop_screen() {
  if [ -n "$xvfb" ]; then
    kill "$xvfb"
    wait "$xvfb" 2>/dev/null || true
  fi
  xvfb=""
}
