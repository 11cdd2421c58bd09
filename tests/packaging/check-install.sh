#!/usr/bin/env bash
# Installs the build into a scratch prefix and looks at it as a desktop does: the program where
# the desktop entry's Exec finds it, the entry and the metainfo valid and naming each other by
# the application id, and the entry's icon in every hicolor size at its size.
#   check-install.sh <build dir> <application id>
set -euo pipefail
build=$1
id=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
prefix=$root/usr
cmake --install "$build" --prefix "$prefix" >/dev/null

faults=0
fault() { echo "FAIL: $*"; faults=$((faults + 1)); }

entry=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
for file in "$entry" "$metainfo"; do
  [ -f "$file" ] || { echo "FAIL: not installed: ${file#"$root"}"; exit 1; }
done
value() { sed -n "s/^$1=//p" "$entry" | head -n 1; }

exec_name=$(value Exec | cut -d' ' -f1)
[ -x "$prefix/bin/$exec_name" ] || fault "Exec=$exec_name is not an installed program"

icon=$(value Icon)
[ "$icon" = "$id" ] || fault "Icon=$icon, expected the application id $id"
sizes=0
for png in "$prefix"/share/icons/hicolor/*x*/apps/"$icon".png; do
  [ -f "$png" ] || continue
  sizes=$((sizes + 1))
  dir=$(basename "$(dirname "$(dirname "$png")")")
  actual=$(file -b "$png" | sed -n 's/^PNG image data, \([0-9]*\) x \([0-9]*\),.*/\1x\2/p')
  [ "$actual" = "$dir" ] || fault "${png#"$root"} is $actual"
done
[ "$sizes" -ge 4 ] || fault "the icon $icon is installed in $sizes hicolor sizes"
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fault "no scalable icon"

grep -q "<id>$id</id>" "$metainfo" || fault "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fault "the metainfo does not launch $id.desktop"
grep -q "<binary>$exec_name</binary>" "$metainfo" || fault "the metainfo does not provide $exec_name"

# The sheet's file type, known to the MIME database built from what is installed: by its name
# and by its content; the entry opens it, and it has its icon.
type=application/x-velaro-estimate
grep -q "^MimeType=.*$type;" "$entry" || fault "the entry does not take $type"
value Exec | grep -q '%F' || fault "Exec= takes no files"
update-mime-database "$prefix/share/mime" || fault "update-mime-database"
[ -f "$prefix/share/mime/$type.xml" ] || fault "$type is not in the MIME database"
grep -qx "$type:\*.velaro-estimate" "$prefix/share/mime/globs" || fault "no glob for $type"
[ -f "$prefix/share/icons/hicolor/48x48/mimetypes/application-x-velaro-estimate.png" ] ||
  fault "no icon for $type"
grep -aq '"format": "velaro-estimate"' "$prefix/share/mime/magic" || fault "no magic for $type"

desktop-file-validate "$entry" || fault "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" >/dev/null || fault "appstreamcli validate"

[ "$faults" -eq 0 ] || exit 1
echo "installed tree of $id is complete ($sizes icon sizes)"
