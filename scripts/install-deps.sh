#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent: it asks apt only for
# what is missing, runs `apt-get update` only then, and uses sudo only when not already root.
set -euo pipefail

packages=(
  g++ cmake ninja-build make pkg-config ccache
  qt6-base-dev qt6-base-dev-tools
  libjpeg62-turbo-dev libfontconfig-dev
  libmpfr-dev libgmp-dev
  # the sheet's file is read and written with RapidJSON (header-only)
  rapidjson-dev
  # the sheet's Excel workbook is written with libxlsxwriter
  libxlsxwriter-dev
  fonts-liberation2
  # Qt's own words (context menus, box buttons) in the user's language
  qt6-translations-l10n
  xvfb xauth
  # window placement under a real window manager, read back with xprop
  openbox x11-utils
  # the start-up benchmark watches the X server for the first pixels of a window
  libxcb1-dev libxcb-damage0-dev
  # the estimate sheet's PDF is read back as text by its test
  poppler-utils
  # the estimate sheet's Excel workbook is read back by its test
  python3-openpyxl
  # the accessibility smoke test: a session bus that starts the AT-SPI bus, and its Python client
  dbus-bin dbus-daemon at-spi2-core python3 python3-pyatspi
  # validating the desktop entry and the metainfo, `make package` and judging the package
  desktop-file-utils appstream dpkg-dev file lintian
)
# Extra packages a caller may ask for, e.g. EXTRA_PACKAGES="clang libclang-rt-14-dev".
if [ -n "${EXTRA_PACKAGES:-}" ]; then
  read -r -a extra <<<"$EXTRA_PACKAGES"
  packages+=("${extra[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
