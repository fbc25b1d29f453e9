#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program installed under a prefix of its own: it runs from there and makes an archive of
# a JPEG and a PNG (read by the module beside its library) with the installed textures; the
# desktop files pass their validators (when installed); the manual page names every command
# and option of `lumvane --help`; the completion loads.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
mkdir -p "$prefix/photos"
"$build/bin/make_sample_photos" "$prefix/photos" 1 320x240 3 >/dev/null
echo "iVBORw0KGgoAAAANSUhEUgAAAAgAAAAGCAIAAABxZ0isAAAAEUlEQVR4nGN4JiKCFTEMpAQA/agyocRQu9AAAAAASUVORK5CYII=" |
  base64 -d >"$prefix/photos/red.png"
summary=$(cd / && "$prefix/bin/lumvane" scan "$prefix/photos" "$prefix/archive" --copy no)
case $summary in
  "Archived 2 pictures (1 JPEG, 1 PNG) into"*) ;;
  *) echo "the installed program archived: $summary"; exit 1 ;;
esac
# Without its module of formats, a PNG is reported unreadable and the run fails, never taken
# for a damaged picture.
rm "$prefix"/lib/*/lumvane/libvantle_formats.so "$prefix"/lib/lumvane/libvantle_formats.so 2>/dev/null || true
if summary=$(cd / && "$prefix/bin/lumvane" scan "$prefix/photos" "$prefix/archive2" --copy no --verbose); then
  echo "a run without the module of formats succeeded: $summary"; exit 1
fi
case $summary in
  *"red.png: file unreadable: Can not access a needed shared library"*) ;;
  *) echo "without the module of formats: $summary"; exit 1 ;;
esac
cmp "$prefix/archive/texture.jpg" "$prefix/share/lumvane/texture.jpg"
# The window runs from libexec/lumvane and finds the textures from there too.
cp "$prefix/bin/lumvane" "$prefix/libexec/lumvane/probe"
LD_LIBRARY_PATH=$(dirname "$(ls "$prefix"/lib/*/lumvane/libvantle.so "$prefix"/lib/lumvane/libvantle.so 2>/dev/null | head -n 1)") \
  "$prefix/libexec/lumvane/probe" scan "$prefix/photos" "$prefix/archive3" --jpeg-only >/dev/null
cmp "$prefix/archive3/texture.jpg" "$prefix/share/lumvane/texture.jpg"

for check in desktop-file-validate appstreamcli; do
  command -v "$check" >/dev/null || echo "skipped: $check is not installed"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix"/share/applications/*.desktop
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix"/share/metainfo/*.xml >/dev/null
fi

manual=$(gzip -dc "$prefix/share/man/man1/lumvane.1.gz")
missing=0
for word in $("$prefix/bin/lumvane" --help | grep -oE -- '--[a-z][a-z-]*|lumvane [a-z]+' |
              sed 's/^lumvane //' | sort -u); do
  escaped=${word//-/\\\\-}  # the manual writes a minus as \-
  if ! grep -qE -- "(^|[^a-z])$escaped([^a-z-]|$)" <<<"$manual"; then
    echo "the manual page does not name $word"
    missing=1
  fi
done
bash -n "$prefix/share/bash-completion/completions/lumvane"
exit $missing
