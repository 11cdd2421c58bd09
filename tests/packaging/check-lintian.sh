#!/usr/bin/env bash
# Builds the Debian package into a scratch directory, as `make package` does, and has Debian's
# own checker judge it with its pedantic tags: any error or warning fails, and every tag it gives
# is printed.
#   check-lintian.sh <build dir>
set -euo pipefail
command -v lintian >/dev/null || { echo "FAIL: lintian is missing; scripts/install-deps.sh installs it"; exit 1; }
source "$(dirname "$0")/build-deb.sh"
# Exit status 2 is lintian's own failure; tags are judged below.
status=0
lintian --pedantic --display-info --display-experimental --no-tag-display-limit \
  "$deb" >"$out/tags" 2>"$out/errors" || status=$?
cat "$out/tags"
if [ "$status" -gt 1 ]; then
  cat "$out/errors"
  echo "FAIL: lintian could not check the package"
  exit 1
fi
if grep -qE '^[EW]: ' "$out/tags"; then
  echo "FAIL: lintian reports errors or warnings"
  exit 1
fi
echo "$(basename "$deb"): no lintian error or warning ($(grep -c . "$out/tags" || true) other tags)"
