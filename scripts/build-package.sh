#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages (lumvane and lumvane-dbgsym) as the distribution does: the
# source tree as git knows it (tracked files and new ones not ignored), copied into a clean
# folder, built there by `dpkg-buildpackage -us -uc -b`; the .deb files and the build's
# record (.buildinfo, .changes) go to OUT_DIR, the log to OUT_DIR/build.log.
# Usage: scripts/build-package.sh OUT_DIR
set -euo pipefail
out=$(realpath -m "$1")
source=$(realpath "$(dirname "$0")/..")
version=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree="$work/lumvane-$version"
mkdir -p "$tree" "$out"
(cd "$source" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 -I{} find {} -maxdepth 0 -type f -print0 | tar -cf - --null -T -) | tar -xf - -C "$tree"
rm -f "$out"/lumvane*_"$version"_*
if ! (cd "$tree" && dpkg-buildpackage -us -uc -b) >"$out/build.log" 2>&1; then
  tail -n 40 "$out/build.log"
  echo "build-package: dpkg-buildpackage failed; the whole log is $out/build.log"
  exit 1
fi
mv "$work"/lumvane*_"$version"_* "$out"/
ls -1 "$out"/*.deb
