# A PipeWire sound server as a Debian desktop runs it (pipewire, wireplumber, pipewire-pulse),
# private to the caller, with one null sink as its output. Sourced by a script that runs inside
# dbus-run-session (wireplumber needs a D-Bus session):
#   start_pipewire DIR   starts the server with DIR (made private) as XDG_RUNTIME_DIR and waits
#                        until the null sink "zelmar_null" is the default output; the processes'
#                        ids are left in $pipewire_pid, $wireplumber_pid, $pipewire_pulse_pid
#   stop_pipewire        ends them
# Nothing else of the machine's sound is touched: a server of the desktop keeps its own folder.
start_pipewire() {
  export XDG_RUNTIME_DIR=$1
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  unset PIPEWIRE_REMOTE PULSE_SERVER PULSE_RUNTIME_PATH
  # A home of its own: wireplumber keeps the default output it chooses there.
  export XDG_STATE_HOME=$XDG_RUNTIME_DIR/state XDG_CONFIG_HOME=$XDG_RUNTIME_DIR/config
  pipewire >"$XDG_RUNTIME_DIR/pipewire.log" 2>&1 &
  pipewire_pid=$!
  local tries=0
  until [ -S "$XDG_RUNTIME_DIR/pipewire-0" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$pipewire_pid" 2>/dev/null; then
      echo "pipewire did not start:" >&2
      cat "$XDG_RUNTIME_DIR/pipewire.log" >&2
      return 1
    fi
    sleep 0.1
  done
  wireplumber >"$XDG_RUNTIME_DIR/wireplumber.log" 2>&1 &
  wireplumber_pid=$!
  pipewire-pulse >"$XDG_RUNTIME_DIR/pipewire-pulse.log" 2>&1 &
  pipewire_pulse_pid=$!
  tries=0
  until pactl info >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ]; then
      echo "pipewire-pulse did not answer:" >&2
      cat "$XDG_RUNTIME_DIR/pipewire-pulse.log" >&2
      return 1
    fi
    sleep 0.1
  done
  pactl load-module module-null-sink sink_name=zelmar_null >/dev/null
  tries=0
  until [ "$(pactl get-default-sink 2>/dev/null)" = zelmar_null ]; do
    pactl set-default-sink zelmar_null 2>/dev/null || true
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ]; then
      echo "the null sink did not become the default output" >&2
      return 1
    fi
    sleep 0.1
  done
}

stop_pipewire() {
  local pid
  for pid in ${pipewire_pulse_pid:-} ${wireplumber_pid:-} ${pipewire_pid:-}; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}
