# Sourced by window tests that need an X display of their own: they find
# windows by name, and other tests may run their programs at the same time.
# The server picks a free display number itself (-displayfd) and tells it once
# it accepts connections, so two tests starting together cannot race for one.
# The server resets whenever its last client leaves (a tool of the test, say),
# and refuses connections for a moment while it does: launch_program starts a
# program again when it came too soon. (Keeping a client connected instead
# would spare the resets, but key events sent to later windows then go astray.)

# Each tool a window test calls, and the Debian package that brings it.
own_display_tools=(Xvfb:xvfb xdpyinfo:x11-utils xwininfo:x11-utils xdotool:xdotool)

# Says which tools are missing and returns non-zero, at once, rather than
# letting a test wait minutes for windows that cannot appear.
require_window_tools() {
  local entry missing=0
  for entry in "${own_display_tools[@]}"; do
    if ! command -v "${entry%%:*}" >/dev/null 2>&1; then
      echo "FAIL: ${entry%%:*} is not installed (Debian package ${entry#*:}; scripts/install-deps.sh installs it)"
      missing=1
    fi
  done
  return "$missing"
}

# Starts Xvfb, sets DISPLAY and own_display_pid; returns non-zero on failure.
start_own_display() {
  local fifo number=
  require_window_tools || return 1
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

# Starts "$@" in the background with its stderr in the file $1 (shifted off
# first) and its process id in $pid; returns non-zero if it never got the display.
launch_program() {
  local err=$1
  shift
  for _ in $(seq 10); do
    "$@" 2>"$err" &
    pid=$!
    sleep 0.3
    if kill -0 "$pid" 2>/dev/null || ! grep -q "failed to open display" "$err"; then return 0; fi
    wait "$pid" 2>/dev/null
    sleep 0.2
  done
  return 1
}

stop_own_display() {
  [ -n "${own_display_pid:-}" ] && kill "$own_display_pid" 2>/dev/null
}
