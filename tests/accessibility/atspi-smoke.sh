#!/usr/bin/env bash
# Runs atspi_smoke.py against the program given as $1, with the catalogue printer given as $2
# (which lists the main window's button captions), inside a private session bus (which starts
# the accessibility bus on demand) and a virtual X server. Exit 77 (skipped) only when the tools
# for that are missing; scripts/install-deps.sh installs them.
set -euo pipefail
program=$(realpath "$1")
catalogue=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
# pyatspi is Debian's package and lives with Debian's interpreter, whatever python3 is first on PATH.
python=/usr/bin/python3
for tool in dbus-run-session xvfb-run "$python"; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing; scripts/install-deps.sh installs it"
    exit 77
  fi
done
unset QT_QPA_PLATFORM
# A runtime folder of its own: the program started here would otherwise hand over to one the
# user (or another build's test) has running, and end.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$python" "$here/atspi_smoke.py" "$program" "$catalogue"
