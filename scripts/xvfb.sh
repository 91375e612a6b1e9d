# Starts a private X server for tests and stops it when the calling script (or subshell) ends.
# Usage: start_xvfb [WIDTHxHEIGHT], 1024x768 unless given.
start_xvfb() {
  local size=${1:-1024x768}
  local display
  for display in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$display" ] && [ ! -e "/tmp/.X$display-lock" ]; then
      Xvfb ":$display" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
      XVFB_PID=$!
      export DISPLAY=":$display"
      trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
      for _ in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$display" ] && return 0
        sleep 0.05
      done
      echo "Xvfb did not start on :$display" >&2
      return 1
    fi
  done
  echo "No free X display number" >&2
  return 1
}
