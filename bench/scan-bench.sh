#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `lumvane scan` over a corpus of large photos, on one and on two workers, and a second run
# over the unchanged photos, each as a ratio to the decode floor measured in the same run:
# every photo decoded at 1/8 scale by djpeg, one at a time (two at a time for two workers).
# Usage: [MIX=mixed] bench/scan-bench.sh [BUILD_DIR] [COUNT] [CORPUS_DIR]
# CORPUS_DIR keeps the photos between runs: they are made there when it holds none.
# MIX=mixed makes a corpus like a camera owner's: 12-megapixel 4:2:0 photos, every eighth a
# 24-megapixel 4:2:2 one, one in ten grayscale, one in ten progressive, one in seven CMYK.
# MIX=large: half 12-megapixel 4:2:0 (two CMYK among them, one grayscale), half 24-megapixel
# 4:2:2, every tenth progressive, so that the costliest photos come last.
set -euo pipefail
build=${1:-build}
count=${2:-40}
corpus=${3:-}
for tool in djpeg jpegtran exiftool; do
  command -v "$tool" >/dev/null || { echo "scan-bench needs $tool (libjpeg-turbo-progs, libimage-exiftool-perl)"; exit 1; }
done
work=$(mktemp -d /tmp/lumvane-scan-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
photos=${corpus:-$work/photos}
mkdir -p "$photos"
make_corpus() {
mkdir -p "$work/made12" "$work/made24"
half=$((count / 2))
"$build/bin/make_sample_photos" "$work/made12" "$half" 4000x3000 7 cmyk >/dev/null
"$build/bin/make_sample_photos" "$work/made24" "$((count - half))" 6000x4000 8 cmyk >/dev/null
n=0
for f in "$work"/made12/*.[jJ][pP][gG] "$work"/made24/*.[jJ][pP][gG]; do  # progressive, grayscale, CMYK and turned photos among them
  n=$((n + 1)); out="$photos/photo_$n.jpg"
  case $((n % 4)) in
    0) jpegtran -progressive -copy all -outfile "$out" "$f" ;;
    1) djpeg -grayscale "$f" | cjpeg -quality 90 -outfile "$out" ;;
    *) cp "$f" "$out" ;;
  esac
  [ $((n % 3)) -eq 0 ] && exiftool -q -n -Orientation=6 -overwrite_original "$out"
  touch -r "$f" "$out"
done
}
make_mixed_corpus() {
mkdir -p "$work/made12" "$work/made24"
big=$((count / 8))
"$build/bin/make_sample_photos" "$work/made12" "$((count - big))" 4000x3000 7 cmyk >/dev/null
"$build/bin/make_sample_photos" "$work/made24" "$big" 6000x4000 8 >/dev/null
local twelve=("$work"/made12/*.[jJ][pP][gG]) twentyfour=("$work"/made24/*.[jJ][pP][gG])
local n i12=0 i24=0 f out
for n in $(seq "$count"); do
  out="$photos/photo_$n.jpg"
  if [ $((n % 8)) -eq 0 ]; then
    f=${twentyfour[$i24]}; i24=$((i24 + 1))
    djpeg "$f" | cjpeg -sample 2x1 -quality 92 -outfile "$out"
  else
    f=${twelve[$i12]}; i12=$((i12 + 1))
    cp "$f" "$out"
  fi
  case $((n % 10)) in
    5) # a CMYK photo cannot be made gray by djpeg: it stays as it is
       if djpeg -grayscale "$out" 2>/dev/null | cjpeg -quality 90 -outfile "$out.tmp" && [ -s "$out.tmp" ]; then
         mv "$out.tmp" "$out"
       else
         rm -f "$out.tmp"
       fi ;;
    0) jpegtran -progressive -copy all -outfile "$out.tmp" "$out" && mv "$out.tmp" "$out" ;;
  esac
  touch -r "$f" "$out"
done
}
make_large_corpus() {
mkdir -p "$work/made12" "$work/made24"
half=$((count / 2))
"$build/bin/make_sample_photos" "$work/made12" "$half" 4000x3000 11 cmyk >/dev/null
"$build/bin/make_sample_photos" "$work/made24" "$((count - half))" 6000x4000 12 >/dev/null
local n=0 f out
for f in "$work"/made12/*.[jJ][pP][gG] "$work"/made24/*.[jJ][pP][gG]; do
  n=$((n + 1)); out="$photos/photo_$n.jpg"
  case $f in
    */made24/*) djpeg "$f" | cjpeg -sample 2x1 -quality 92 -outfile "$out" ;;
    *) cp "$f" "$out" ;;
  esac
  [ "$n" -eq 5 ] && djpeg -grayscale "$f" | cjpeg -quality 90 -outfile "$out"
  if [ $((n % 10)) -eq 0 ]; then
    jpegtran -progressive -copy all -outfile "$out.tmp" "$out" && mv "$out.tmp" "$out"
  fi
done
}
if ! ls "$photos"/*.jpg >/dev/null 2>&1; then
  case ${MIX:-} in
    mixed) make_mixed_corpus ;;
    large) make_large_corpus ;;
    *) make_corpus ;;
  esac
fi
echo "corpus: $(ls "$photos" | wc -l) photos, $(du -sh "$photos" | cut -f1) (12 and 24 megapixels; progressive, grayscale, CMYK, turned)"
since() { awk -v s="$1" -v e="$(date +%s.%N)" 'BEGIN { print e - s }'; }
seconds() { local s; s=$(date +%s.%N); "$@"; since "$s"; }
floor1() { seconds sh -c "for f in '$photos'/*.jpg; do djpeg -scale 1/8 -outfile /dev/null \"\$f\"; done"; }
floor2() { seconds sh -c "ls '$photos'/*.jpg | xargs -P2 -n1 djpeg -scale 1/8 -outfile /dev/null"; }
scan() {  # scan DEST JOBS [PIN...]: prints seconds and peak MiB
  local dest=$1 jobs=$2; shift 2
  local s; s=$(date +%s.%N)
  "$@" /usr/bin/time -f %M -o "$work/peak" "$build/bin/lumvane" scan "$photos" "$dest" --copy no --quiet --jobs "$jobs"
  printf '%s %s\n' "$(since "$s")" "$(( $(cat "$work/peak") / 1024 ))"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# Rounds of floor and scan side by side, so that a burst of load elsewhere on a shared machine
# spoils one round rather than every figure; the medians are the result.
rounds=${ROUNDS:-5}
: >"$work/ratios"
for round in $(seq "$rounds"); do
  rm -rf "$work/one" "$work/two"
  f1=$(floor1)
  read -r one one_mib < <(scan "$work/one" 1 taskset -c 0)  # one worker on one core
  f2=$(floor2)
  read -r two two_mib < <(scan "$work/two" 2)
  awk -v r="$round" -v f1="$f1" -v f2="$f2" -v one="$one" -v two="$two" 'BEGIN {
    printf "round %d: floor %.2f s, --jobs 1 %.2f s (%.2fx); two-core floor %.2f s, --jobs 2 %.2f s (%.2fx)\n",
           r, f1, one, one / f1, f2, two, two / f2 }'
  echo "$(awk -v a="$one" -v b="$f1" 'BEGIN { print a / b }') $(awk -v a="$two" -v b="$f2" 'BEGIN { print a / b }') $two" >>"$work/ratios"
done
read -r again _ < <(scan "$work/two" 2)
ratio1=$(cut -d' ' -f1 "$work/ratios" | median)
ratio2=$(cut -d' ' -f2 "$work/ratios" | median)
two=$(cut -d' ' -f3 "$work/ratios" | median)
awk -v r1="$ratio1" -v r2="$ratio2" -v two="$two" -v again="$again" -v m1="$one_mib" \
    -v m2="$two_mib" -v n="$rounds" 'BEGIN {
  printf "median of %d rounds:\n", n
  printf "lumvane scan --jobs 1: %.2fx the floor, peak %d MiB\n", r1, m1
  printf "lumvane scan --jobs 2: %.2fx the two-core floor, peak %d MiB\n", r2, m2
  printf "second run, unchanged photos: %.3f s, %.0fx faster than the first\n", again, two / again
}'
