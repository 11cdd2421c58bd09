#!/usr/bin/env bash
# Builds the Debian package into a scratch directory, as `make package` does, and reads it back:
# the libraries the program and its modules link found by dpkg-shlibdeps, the platform plugins, the fonts
# and Qt's translations required, and the program, entry, metainfo, icons and the manual pages
# (English and Russian) inside under /usr.
#   check-deb.sh <build dir> <application id>
set -euo pipefail
id=$2
source "$(dirname "$0")/build-deb.sh"

faults=0
fault() { echo "FAIL: $*"; faults=$((faults + 1)); }

depends=$(dpkg-deb -f "$deb" Depends)
names=$(sed 's/ ([^)]*)//g; s/, /\n/g' <<<"$depends")
for package in libqt6widgets6 libqt6gui6 libqt6core6 libjpeg62-turbo libstdc++6 qt6-qpa-plugins \
               fonts-liberation2 qt6-translations-l10n libqt6printsupport6 libxlsxwriter4 libqpdf29; do
  grep -qxF "$package" <<<"$names" || fault "Depends lacks $package: $depends"
done

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in ./usr/bin/velaro-paint ./usr/share/applications/$id.desktop \
            ./usr/share/metainfo/$id.metainfo.xml ./usr/share/icons/hicolor/48x48/apps/$id.png \
            ./usr/share/icons/hicolor/scalable/apps/$id.svg \
            ./usr/libexec/velaro-paint/velaro-print.so ./usr/libexec/velaro-paint/velaro-xlsx.so \
            ./usr/libexec/velaro-paint/velaro-pdf.so \
            ./usr/share/man/man1/velaro-paint.1.gz ./usr/share/man/ru/man1/velaro-paint.1.gz; do
  grep -qx "$path" <<<"$contents" || fault "the package lacks $path"
done

[ "$faults" -eq 0 ] || exit 1
echo "$(basename "$deb"): Depends: $depends"
