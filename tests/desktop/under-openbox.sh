#!/usr/bin/env bash
# Runs the placement test given as $1 under a private Xvfb with openbox, once per screen:
# 640x480, 800x600, 1024x768 and 1280x720, and 1280x720 again at twice the scale. Exit 77 (skipped) only
# when Xvfb, openbox or xprop are missing; scripts/install-deps.sh installs them.
set -uo pipefail
test_program=$(realpath "$1")
for tool in Xvfb openbox xprop; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing; scripts/install-deps.sh installs it"
    exit 77
  fi
done

work=$(mktemp -d)
pids=()
stop() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  pids=()
}
trap 'stop; rm -rf "$work"' EXIT

# Starts Xvfb on a free display (it reports the number), then openbox, and waits until openbox
# has announced itself on the root window.
start_desktop() {
  local size=$1
  : >"$work/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  local display=""
  for _ in $(seq 100); do
    display=$(tr -dc '0-9' <"$work/display")
    [ -n "$display" ] && break
    sleep 0.1
  done
  if [ -z "$display" ]; then echo "Xvfb did not start"; cat "$work/xvfb.log"; return 1; fi
  export DISPLAY=":$display"
  for _ in $(seq 100); do
    xprop -root >/dev/null 2>&1 && break
    sleep 0.1
  done
  HOME="$work" XDG_CONFIG_HOME="$work" XDG_CACHE_HOME="$work" openbox >"$work/openbox.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.1
  done
  echo "openbox did not start on $DISPLAY"; cat "$work/openbox.log" "$work/xvfb.log"
  ls -l /tmp/.X11-unix/
  return 1
}

failed=0
for run in "640x480 1" "800x600 1" "1024x768 1" "1280x720 1" "1280x720 2"; do
  read -r size scale <<<"$run"
  width=${size%x*} height=${size#*x}
  echo "=== screen $size, scale $scale"
  started=0
  for _ in 1 2 3; do
    if start_desktop "$size"; then started=1; break; fi
    stop
  done
  if [ $started -eq 0 ]; then failed=1; continue; fi
  env -u QT_QPA_PLATFORM QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" \
    XDG_RUNTIME_DIR="$work" VELARO_EXPECTED_SCREEN="$((width / scale))x$((height / scale))" \
    "$test_program" || failed=1
  stop
done
exit $failed
