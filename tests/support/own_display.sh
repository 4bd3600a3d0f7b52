# Sourced by window tests that need an X display of their own: they find
# windows by name, and other tests may run their programs at the same time.
# The server picks a free display number itself (-displayfd) and tells it once
# it accepts connections, so two tests starting together cannot race for one.

# Starts Xvfb, sets DISPLAY and own_display_pid; returns non-zero on failure.
start_own_display() {
  local fifo number=
  fifo=$(mktemp -u)
  mkfifo "$fifo" || return 1
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
  own_display_pid=$!
  read -r -t 60 number <"$fifo"
  rm -f "$fifo"
  [ -n "$number" ] || return 1
  export DISPLAY=":$number"
  # Ready by now; a check costs little and says so plainly when it is not.
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}

stop_own_display() {
  [ -n "${own_display_pid:-}" ] && kill "$own_display_pid" 2>/dev/null
}
