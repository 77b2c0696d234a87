# Sourced by the scripts that show a window: start_virtual_display [WIDTHxHEIGHT] starts
# Xvfb on a free display and exports DISPLAY when there is no display; it sets xvfb_pid
# (empty when an existing display is used) for the caller's cleanup to kill.
xvfb_pid=
start_virtual_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 120); do [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break; done
  Xvfb ":$n" -screen 0 "${1:-1024x768}x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
}
