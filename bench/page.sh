#!/usr/bin/env bash
# The published page against the browser's own <video> player on its MP4 twin, in headless
# Chromium: first picture and first movement (cold, warm, 10 Mbit/s), bytes of a first and a
# second visit, sound against picture, CPU during playback. Figures are medians of RUNS; with
# BENCH_SUMMARY set, appends "name|value|target|load" lines to that file.
#
#   bench/page.sh [RUNS]      (default 3; run scripts/build first)
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/reelwright/reelwright-batch ] || { echo "no build/reelwright/reelwright-batch: run scripts/build first" >&2; exit 1; }
exec node bench/page.mjs "${1:-3}"
