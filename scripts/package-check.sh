#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package in BUILD_DIR: lintian's errors fail it (its warnings are shown),
# and the package unpacked into a throw-away root runs: its program makes an archive with
# the installed textures, and its manual page and desktop files pass their checks.
# Usage: scripts/package-check.sh BUILD_DIR
set -euo pipefail
build=$1
deb=$(ls "$build"/lumvane_*.deb)
echo "lintian $deb:"
lintian --fail-on error "$deb" 2>&1 | grep -v "running with root privileges" || true
lintian --fail-on error "$deb" >/dev/null 2>&1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
"$root/usr/bin/lumvane" --version
mkdir -p "$root/photos"
"$build/bin/make_sample_photos" "$root/photos" 2 640x480 7 >/dev/null
"$root/usr/bin/lumvane" scan "$root/photos" "$root/archive" --copy no
cmp "$root/archive/texture.jpg" "$root/usr/share/lumvane/texture.jpg"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.xml >/dev/null
man --warnings -l "$root/usr/share/man/man1/lumvane.1.gz" >/dev/null
echo "package-check: $(basename "$deb") is sound"
