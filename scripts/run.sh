#!/usr/bin/env bash
# Starts the program, or says in one line how to when there is no display to show it on.
set -euo pipefail
program=$1
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: run it under Xvfb with 'xvfb-run -a $program', or headless with 'QT_QPA_PLATFORM=offscreen $program'." >&2
  exit 2
fi
exec "$program"
