#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package in OUT_DIR (from scripts/build-package.sh): a second build of the
# same tree in another folder gives the same bytes; lintian (pedantic, with its notes) finds
# nothing beyond debian/lumvane.lintian-overrides; blhc finds the build flags on every line; installed by apt, the program runs as an
# ordinary user and archives two pictures; removed, it leaves none of its files behind.
# Usage: scripts/package-check.sh OUT_DIR
set -euo pipefail
out=$(realpath "$1")
here=$(dirname "$0")
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

"$here/build-package.sh" "$out/again" >/dev/null
for deb in "$out"/*.deb; do
  cmp "$deb" "$out/again/$(basename "$deb")" ||
    { echo "package-check: two builds of one tree differ: $(basename "$deb")"; exit 1; }
done
echo "reproducible: $(cd "$out" && ls ./*.deb | tr '\n' ' ')"

lint=$(lintian --pedantic -I --fail-on error,warning,info,pedantic "$out"/lumvane_*.changes 2>&1) ||
  { echo "$lint"; echo "package-check: lintian has the notes above"; exit 1; }
echo "lintian --pedantic -I: clean"
blhc --all "$out/build.log"  # every compile and link line has the distribution's flags
echo "blhc: every line has its flags"

deb=$(ls "$out"/lumvane_*.deb)
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb" >/dev/null
trap '$sudo apt-get purge -y -qq lumvane >/dev/null 2>&1 || true' EXIT
mapfile -t installed < <(dpkg -L lumvane)
home=$(mktemp -d)
chmod 755 "$home"
user=()
[ "$(id -u)" -ne 0 ] || { chown nobody "$home"; user=(runuser -u nobody --); }
as_user() { (cd "$home" && "${user[@]}" env HOME="$home" "$@"); }
as_user lumvane --version
as_user mkdir photos
as_user cp /usr/share/lumvane/texture.jpg photos/harbour.jpg
as_user cp /usr/share/lumvane/texture2.jpg photos/night.jpg
summary=$(as_user lumvane scan photos archive)
case $summary in
  "Archived 2 pictures into"*) echo "$summary" ;;
  *) echo "package-check: the installed program archived: $summary"; exit 1 ;;
esac
! ldd /usr/libexec/lumvane/lumvane-window | grep "not found"
man --warnings -l /usr/share/man/man1/lumvane.1.gz >/dev/null
rm -rf "$home"

DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq lumvane >/dev/null
trap - EXIT
left=0
for path in "${installed[@]}"; do
  if [ -e "$path" ] && ! [ -d "$path" ]; then echo "left behind: $path"; left=1; fi
done
for folder in /usr/libexec/lumvane /usr/share/lumvane /usr/share/doc/lumvane; do
  if [ -e "$folder" ]; then echo "left behind: $folder"; left=1; fi
done
[ $left -eq 0 ]
echo "package-check: $(basename "$deb") builds reproducibly, installs, runs and goes"
