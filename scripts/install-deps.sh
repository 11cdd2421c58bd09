#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and the ru_RU.UTF-8 locale the tests
# run under. Idempotent: it asks apt only for what is missing, runs `apt-get update` only then,
# generates the locale only when missing, and uses sudo only when not already root.
set -euo pipefail

packages=(
  g++ cmake ninja-build make pkg-config ccache
  qt6-base-dev qt6-base-dev-tools
  # the desktop's recent files list is written through GLib's bookmark file
  libglib2.0-dev
  libjpeg62-turbo-dev libfontconfig-dev
  libmpfr-dev libgmp-dev
  # the sheet's file is read and written with RapidJSON (header-only)
  rapidjson-dev
  # the sheet's Excel workbook is written with libxlsxwriter
  libxlsxwriter-dev
  # a supplier's price list is read from xlsx with minizip (libxlsxwriter loads it already)
  libminizip-dev
  # a long sheet's PDF is painted in runs of pages on several threads, joined by qpdf
  libqpdf-dev
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
  # the estimate sheet's Excel workbook is read back by its tests: as stored, and recalculated
  # by LibreOffice Calc
  python3-openpyxl libreoffice-calc-nogui
  # the document tests run again under Russian settings (see the locale step at the end)
  locales
  # the accessibility smoke test: a session bus that starts the AT-SPI bus, and its Python client
  dbus-bin dbus-daemon at-spi2-core python3 python3-pyatspi
  # validating the desktop entry and the metainfo, `make package` and judging the package
  desktop-file-utils appstream dpkg-dev file lintian
  # the sheet's file type in a MIME database built from the installed tree
  shared-mime-info
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

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The files the sheet writes are tested under ru_RU.UTF-8 too, where printf writes a decimal
# comma. Debian's `locales` ships the definitions but generates only what locale.gen names; this
# runs whether or not a package was missing, since the locale can be missing on its own.
if ! locale -a 2>/dev/null | grep -qx 'ru_RU\.utf8'; then
  echo "Generating: ru_RU.UTF-8"
  if [ -f /etc/locale.gen ]; then
    "${sudo[@]}" sed -i 's/^#[[:space:]]*\(ru_RU\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  fi
  if [ -f /etc/locale.gen ] && grep -qx 'ru_RU\.UTF-8 UTF-8' /etc/locale.gen; then
    "${sudo[@]}" locale-gen
  else
    "${sudo[@]}" localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
  fi
fi
