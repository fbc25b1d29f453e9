#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Benchmarks: sjpeg on one 12-megapixel original, `lumvane scan` over N of them, the editor,
# the two database readers, and `lumvane scan` against the decode floor.
# Usage: bench/run-bench.sh [BUILD_DIR] [N]
set -euo pipefail
build=${1:-build}
count=${2:-20}
work=$(mktemp -d /tmp/lumvane-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/photos" "$work/archive"
echo "Generating $count photo-like 4000x3000 originals..."
"$build/bin/make_sample_photos" "$work/photos" "$count" 4000x3000 42
du -sh "$work/photos" | awk -v n="$count" '{print "  " $1 " in " n " files"}'
first=$(ls "$work/photos" | head -n 1)
"$build/bin/sjpeg_bench" display "$work/photos/$first" 10
"$build/bin/sjpeg_bench" thumbnail "$work/photos/$first" 30
start=$(date +%s.%N)
/usr/bin/time -f "%M" -o "$work/peak" "$build/bin/lumvane" scan "$work/photos" "$work/archive" --copy no --quiet
end=$(date +%s.%N)
awk -v s="$start" -v e="$end" -v n="$count" -v peak="$(cat "$work/peak")" 'BEGIN {
  printf "lumvane scan: %d pictures in %.2f s, %.0f ms per picture, peak memory %.1f MiB\n",
         n, e - s, 1000 * (e - s) / n, peak / 1024 }'
"$build/bin/editor_bench" 50000
"$build/bin/tdb_bench"
"$build/bin/mdb_bench"
if command -v djpeg >/dev/null && command -v exiftool >/dev/null; then
  "$(dirname "$0")/scan-bench.sh" "$build" 40
else
  echo "scan-bench: install libjpeg-turbo-progs and libimage-exiftool-perl to run it"
fi
if command -v ffmpeg >/dev/null && command -v exiftool >/dev/null; then
  "$(dirname "$0")/camera-bench.sh" "$build"
else
  echo "camera-bench: install ffmpeg and libimage-exiftool-perl to run it"
fi
