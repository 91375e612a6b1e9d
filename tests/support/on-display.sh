#!/bin/sh
# Runs a test program on the X server that ctest handed its test: scripts/ctest-x.sh gives
# each slot an Xvfb of its own and names them in its resource spec, and ctest passes the one
# chosen as "id:91,slots:1". Run by hand, the program keeps the DISPLAY it was given.
if [ -n "${CTEST_RESOURCE_GROUP_0_DISPLAYS:-}" ]; then
  id=${CTEST_RESOURCE_GROUP_0_DISPLAYS#id:}
  DISPLAY=":${id%%,*}"
  export DISPLAY
fi
exec "$@"
