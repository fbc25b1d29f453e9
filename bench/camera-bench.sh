#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What cameras and phones make besides photos, each as a ratio to its reference measured in the
# same run (median of ROUNDS, default 3):
# - a clip's poster: `lumvane scan` of a folder holding the clip alone, against
#   `ffmpeg -ss 1 -i CLIP -frames:v 1` and cjpeg of that frame (1080p H.264 and HEVC, 4K H.264,
#   ten minutes of 720p H.264);
# - a RAW photo with a full-size preview: `lumvane scan` of a folder of ten, against extracting
#   each preview (exiftool -b -PreviewImage) and making the display image and thumbnail of it
#   with djpeg and cjpeg;
# - the peak memory of one scan of the 4K clip and the ten 50-megapixel RAW photos.
# Usage: bench/camera-bench.sh [BUILD_DIR] [CORPUS_DIR]  (CORPUS_DIR keeps the files made)
set -euo pipefail
build=${1:-build}
corpus=${2:-/tmp/lumvane-camera-corpus}
rounds=${ROUNDS:-3}
for tool in ffmpeg cjpeg djpeg exiftool; do
  command -v "$tool" >/dev/null || { echo "camera-bench needs $tool"; exit 1; }
done
work=$(mktemp -d /tmp/lumvane-camera-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$corpus"

clip() {  # NAME SIZE SECONDS CODEC
  [ -s "$corpus/$1" ] && return
  ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=$2:rate=30:duration=$3" -c:v "$4" \
    -preset ultrafast -pix_fmt yuv420p "$corpus/$1"
}
clip h264-1080p.mp4 1920x1080 10 libx264
clip hevc-1080p.mov 1920x1080 10 libx265 2>/dev/null
clip h264-4k.mp4 3840x2160 5 libx264
clip h264-10min.mp4 1280x720 600 libx264
if [ ! -s "$corpus/raw/photo_10.dng" ]; then
  mkdir -p "$corpus/raw" "$work/previews"
  "$build/bin/make_sample_photos" "$work/previews" 10 8660x5774 5 >/dev/null
  n=0
  for p in "$work"/previews/*.[jJ][pP][gG]; do
    n=$((n + 1)); "$build/bin/make_dng" "$p" 8660 5774 "$corpus/raw/photo_$n.dng"
  done
fi

seconds() { local s; s=$(date +%s.%N); "$@" >/dev/null 2>&1; echo "$(date +%s.%N) - $s" | bc; }
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
scan_one() { rm -rf "$work/out"; "$build/bin/lumvane" scan "$1" "$work/out" --copy no --jobs 1 --quiet; }
reference_clip() {
  ffmpeg -loglevel error -y -ss 1 -i "$1" -frames:v 1 -f image2pipe -vcodec ppm - \
    | cjpeg -quality 85 > "$work/poster.jpg"
}
reference_raw() {
  for f in "$corpus"/raw/*.dng; do
    exiftool -b -PreviewImage "$f" > "$work/preview.jpg"
    djpeg -scale 1/4 "$work/preview.jpg" | cjpeg -quality 85 > "$work/display.jpg"
    djpeg -scale 1/8 "$work/display.jpg" | cjpeg -quality 85 > "$work/thumb.jpg"
  done
}

for c in h264-1080p.mp4 hevc-1080p.mov h264-4k.mp4 h264-10min.mp4; do
  mkdir -p "$work/one/$c" && ln -sf "$corpus/$c" "$work/one/$c/$c"
  ours=() theirs=()
  for _ in $(seq "$rounds"); do
    theirs+=("$(seconds reference_clip "$corpus/$c")")
    ours+=("$(seconds scan_one "$work/one/$c")")
  done
  t=$(printf '%s\n' "${theirs[@]}" | median); o=$(printf '%s\n' "${ours[@]}" | median)
  printf '%-16s poster %.3f s, reference %.3f s: %.2fx\n' "$c" "$o" "$t" "$(echo "$o / $t" | bc -l)"
done
ours=() theirs=()
for _ in $(seq "$rounds"); do
  theirs+=("$(seconds reference_raw)")
  ours+=("$(seconds scan_one "$corpus/raw")")
done
t=$(printf '%s\n' "${theirs[@]}" | median); o=$(printf '%s\n' "${ours[@]}" | median)
printf '%-16s 10 photos %.3f s, reference %.3f s: %.2fx\n' "raw-50mp" "$o" "$t" "$(echo "$o / $t" | bc -l)"
mkdir -p "$work/mixed" && ln -sf "$corpus/h264-4k.mp4" "$corpus"/raw/*.dng "$work/mixed/"
rm -rf "$work/out"
peak=$( { /usr/bin/time -f %M "$build/bin/lumvane" scan "$work/mixed" "$work/out" --copy no --quiet; } 2>&1 | tail -n 1)
echo "peak memory of the 4K clip and ten 50 MP RAW photos on two workers: $((peak / 1024)) MiB"
