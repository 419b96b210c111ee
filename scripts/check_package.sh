#!/usr/bin/env bash
# Builds the Debian package from a build folder (first argument, default
# build/) and checks it: the files it installs, its desktop entry and its
# AppStream metainfo as the desktop's own tools read them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)

if ! made=$(cd "$build" && cpack -G DEB 2>&1); then
  echo "$made" >&2
  exit 1
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/kvl-pws_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "Paquet absent : $deb" >&2; exit 1; }

status=0
listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/kvl-pws \
         ./usr/share/applications/kvl-pws.desktop \
         ./usr/share/icons/hicolor/scalable/apps/kvl-pws.svg \
         ./usr/share/metainfo/fr.kvl_pws.kvl_pws.metainfo.xml \
         ./usr/share/man/man1/kvl-pws.1.gz \
         ./usr/share/doc/kvl-pws/KVL_PWS.doc \
         ./usr/share/doc/kvl-pws/KVL_PWS.html \
         ./usr/share/doc/kvl-pws/copyright \
         ./usr/share/doc/kvl-pws/changelog.gz; do
  grep -qxF "$f" <<<"$listing" || { echo "Manque dans le paquet : $f" >&2; status=1; }
done
# Nothing beside the program in /usr/bin, nothing outside /usr.
unexpected=$(grep -v -e '/$' -e '^\./usr/share/' -e '^\./usr/bin/kvl-pws$' <<<"$listing" || true)
[ -z "$unexpected" ] || { echo "Fichiers inattendus dans le paquet :" >&2; echo "$unexpected" >&2; status=1; }
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6serialport6 qt6-qpa-plugins; do
  grep -q "$d" <<<"$depends" || { echo "Dépendance absente : $d ($depends)" >&2; status=1; }
done

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
# The program finds its guide from its own folder: the package must put it there.
from_program=$(sed -n 's/^#define KVL_HELP_FROM_PROGRAM "\(.*\)"$/\1/p' "$build/src/generated/install_dirs.h")
[ -f "$unpacked/usr/bin/$from_program/KVL_PWS.html" ] \
  || { echo "Le programme cherche son guide dans /usr/bin/$from_program : il n'y est pas." >&2; status=1; }
desktop-file-validate "$unpacked/usr/share/applications/kvl-pws.desktop" || status=1
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/fr.kvl_pws.kvl_pws.metainfo.xml" >/dev/null \
  || { appstreamcli validate --no-net "$unpacked/usr/share/metainfo/fr.kvl_pws.kvl_pws.metainfo.xml" >&2; status=1; }

((status == 0)) && echo "Paquet vérifié : $(basename "$deb")"
exit "$status"
