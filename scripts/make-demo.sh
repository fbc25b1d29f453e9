#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the demo: a dozen generated photo-like pictures in two folders, each with a title, a
# caption, keywords and a date, an archive of each
# folder under BUILD/demo/archives/, and a master archive over both in BUILD/demo/archives/.
# Prints the path of every archive.htm, the master's last.
set -euo pipefail
build=${1:-build}
demo="$build/demo"
rm -rf "$demo"
mkdir -p "$demo/photos/Coast" "$demo/photos/Mountains"
"$build/bin/make_sample_photos" "$demo/photos/Coast" 7 1600x1200 11 described
"$build/bin/make_sample_photos" "$demo/photos/Mountains" 5 2048x1536 23 described
for folder in Coast Mountains; do
  "$build/bin/lumvane" scan "$demo/photos/$folder" "$demo/archives/$folder" --copy rename --quiet
done
"$build/bin/lumvane" master "$demo/archives" --quiet
for folder in Coast Mountains; do
  realpath "$demo/archives/$folder/archive.htm"
done
realpath "$demo/archives/archive.htm"
