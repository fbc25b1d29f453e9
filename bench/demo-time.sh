#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How long `make demo` takes from an empty build folder against the whole build and the demo
# (what it took before it built only the program), both measured in this one run.
# Usage: bench/demo-time.sh [SCRATCH_DIR]   (default /tmp/lumvane-demo-time; it is emptied)
set -euo pipefail
cd "$(dirname "$0")/.."
scratch=${1:-/tmp/lumvane-demo-time}
rm -rf "$scratch"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
links=$(dpkg-buildflags --get LDFLAGS)
start=$(date +%s.%N)
cmake -S . -B "$scratch" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$links" -DCMAKE_SHARED_LINKER_FLAGS="$links" \
  -DCMAKE_MODULE_LINKER_FLAGS="$links" >/dev/null
cmake --build "$scratch" -j "$(nproc)" --target lumvane make_sample_photos texture >/dev/null
scripts/make-demo.sh "$scratch" >/dev/null 2>&1
demo=$(date +%s.%N)
cmake --build "$scratch" -j "$(nproc)" >/dev/null
end=$(date +%s.%N)
echo "make demo: $(echo "$demo - $start" | bc) s; the whole build and the demo: $(echo "$end - $start" | bc) s"
echo "ratio: $(echo "scale=2; ($demo - $start) / ($end - $start)" | bc)"
