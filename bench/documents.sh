#!/usr/bin/env bash
# The documents of a realistic job at the sizes estimators reach and past them, each beside
# LibreOffice converting the same rows (its CSV) to the same kind of file, in alternating runs.
# Prints the program's figures and LibreOffice's seconds and peak memory.
set -euo pipefail
bench="$1"
export QT_QPA_PLATFORM=offscreen
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
profile="file://$work/profile"
libreoffice() { # kind lines
  "$bench" csv "$2" "$work/rows.csv" >/dev/null 2>&1
  /usr/bin/time -f "libreoffice_$1_$2 seconds=%e peak_mb=%M" \
    soffice --headless "-env:UserInstallation=$profile" --convert-to "$1" \
    --outdir "$work" "$work/rows.csv" 2>&1 >/dev/null | grep '^libreoffice' |
    awk '{ sub("peak_mb=", "", $3); printf "%s %s peak_mb=%.0f\n", $1, $2, $3 / 1024 }'
}
soffice --headless "-env:UserInstallation=$profile" --terminate_after_init >/dev/null 2>&1 || true
for case in "pdf 60" "pdf 1000" "pdf 10000" "pdf 100000" "xlsx 10000" "xlsx 100000"; do
  set -- $case
  for run in 1 2; do
    LC_ALL=ru_RU.UTF-8 "$bench" "$1" "$2" "$work/out.$1" 2>/dev/null
    if command -v soffice >/dev/null && [ "$2" -le 100000 ]; then libreoffice "$1" "$2"; fi
  done
done
