# Sourced by the package checks: builds the Debian package from <build dir> into a scratch
# directory, as `make package` does, and sets $out (removed on exit) and $deb.
build=$(realpath "$1")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if ! cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log"
  exit 1
fi
debs=("$out"/*.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: no package made"; exit 1; }
deb=${debs[0]}
