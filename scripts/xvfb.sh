# Private X servers for tests, stopped when the calling script (or subshell) ends.
#   start_xvfb [WIDTHxHEIGHT]    one server, 1024x768 unless given, made the DISPLAY
#   run_ctest BUILD [ARGS...]    ctest with one server a slot (-j as many as cores): a test
#                                that opens windows gets a server of its own, through the
#                                resource spec that tests/support/on-display.sh reads; the
#                                servers are started at the first call and kept for the next

# Starts one server on the first free display number and sets XVFB_DISPLAY to that number.
# The first server of a shell or subshell sets its EXIT trap; a script that sets its own
# afterwards stops them itself.
launch_xvfb() {
  local size=$1 display
  # A subshell stops its own servers only.
  if [ "${XVFB_LEVEL:-}" != "$BASH_SUBSHELL" ]; then
    XVFB_PIDS=()
    XVFB_LEVEL=$BASH_SUBSHELL
    trap 'kill "${XVFB_PIDS[@]}" 2>/dev/null || true' EXIT
  fi
  for display in $(seq 90 160); do
    if [ ! -e "/tmp/.X11-unix/X$display" ] && [ ! -e "/tmp/.X$display-lock" ]; then
      Xvfb ":$display" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
      XVFB_PIDS+=($!)
      for _ in $(seq 1 100); do
        if [ -e "/tmp/.X11-unix/X$display" ]; then
          XVFB_DISPLAY=$display
          return 0
        fi
        sleep 0.05
      done
      echo "Xvfb did not start on :$display" >&2
      return 1
    fi
  done
  echo "No free X display number" >&2
  return 1
}

start_xvfb() {
  launch_xvfb "${1:-1024x768}" || return 1
  export DISPLAY=":$XVFB_DISPLAY"
}

run_ctest() {
  local build=$1
  shift
  if [ -z "${DISPLAY_SLOTS:-}" ]; then
    local slot ids=()
    for slot in $(seq 1 "$(nproc)"); do
      launch_xvfb 1024x768 || return 1
      ids+=("{\"id\": \"$XVFB_DISPLAY\", \"slots\": 1}")
    done
    DISPLAY_SLOTS=$(realpath "$build")/display-slots.json
    printf '{"version": {"major": 1, "minor": 0}, "local": [{"displays": [%s]}]}\n' \
      "$(IFS=,; echo "${ids[*]}")" >"$DISPLAY_SLOTS"
  fi
  ctest --test-dir "$build" --resource-spec-file "$DISPLAY_SLOTS" -j "$(nproc)" "$@"
}
