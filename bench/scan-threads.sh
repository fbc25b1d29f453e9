#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Where a `lumvane scan` on two workers spends its time: each thread's time on a core and each
# core's idle time, from the scheduler's own events. A core idle while the run lasts is time a
# worker waited (for memory, for the run thread, or for nothing left to start).
# Usage: bench/scan-threads.sh [BUILD_DIR] CORPUS_DIR [JOBS]  (a corpus kept by scan-bench.sh)
set -euo pipefail
build=${1:-build}
corpus=${2:?the folder of photos}
jobs=${3:-2}
command -v perf >/dev/null || { echo "scan-threads needs perf (linux-perf)"; exit 1; }
work=$(mktemp -d /tmp/lumvane-threads-XXXXXX)
trap 'rm -rf "$work"' EXIT
perf sched record -q -o "$work/sched" "$build/bin/lumvane" scan "$corpus" "$work/archive" \
  --copy no --quiet --jobs "$jobs" >/dev/null 2>&1
perf sched timehist -i "$work/sched" -S 2>/dev/null | awk '
  /^ *[0-9]+\.[0-9]+ \[/ && /lumvane/ { if (!first) first = $1; last = $1 }
  /Terminated tasks/ { terminated = 1 }
  terminated && /lumvane\[/ { printf "thread %-22s %9.1f ms on a core\n", $1, $4 }
  /^ *CPU +[0-9]+ idle for/ { printf "core %s idle %9.1f ms\n", $2, $5 }
  END { printf "run: %.1f ms from its first event to its last\n", 1000 * (last - first) }'
