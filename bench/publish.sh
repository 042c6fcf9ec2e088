#!/usr/bin/env bash
# Produce Web Page on a 60 s clip in the real window (an FLV chosen as input, so the video is
# copied into the output folder, and the metadata tool measures it), timed on the second
# publish into the same folder, against its floor: `cp` of the same files (the FLV, player.swf,
# the page and ruffle/) into a fresh folder plus `metastamp FLV /x`. Runs alternate, so the page
# cache favours neither; figures are medians of RUNS. With BENCH_SUMMARY set, appends one
# "name|ratio|target|load" line to that file.
#
#   bench/publish.sh [RUNS]      (default 5; run scripts/build first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
test_binary=build/tests/app/publish_window_test
metastamp=$PWD/build/reelwright/metastamp
[ -x "$test_binary" ] || { echo "no $test_binary: run scripts/build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 60 s of 640x480 Sorenson H.263 with MP3 sound, as the encoder makes it.
ffmpeg -v error -f lavfi -i testsrc2=size=640x480:rate=25 -f lavfi -i sine=frequency=440 -t 60 \
  -c:v flv -b:v 768k -c:a libmp3lame -b:a 64k -ar 22050 "$work/clip.flv"
echo "input: 60 s 640x480 FLV, $(du -h "$work/clip.flv" | cut -f1)"

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
now() { date +%s.%N; }
firsts=() seconds=() peers=() ratios=()
for ((i = 0; i < runs; ++i)); do
  rm -rf "$work/out" "$work/peer" && mkdir "$work/out" "$work/peer"
  line=$(QT_QPA_PLATFORM=offscreen REELWRIGHT_PUBLISH_TIMING_FLV="$work/clip.flv" \
    REELWRIGHT_PUBLISH_TIMING_OUT="$work/out" "$test_binary" \
    --gtest_filter=PublishWindowTest.TimingOfPublishing 2>/dev/null | grep '^first-publish')
  first=$(awk '{print $2}' <<<"$line")
  second=$(awk '{print $4}' <<<"$line")
  start=$(now)
  cp "$work/out/clip.flv" "$work/out/player.swf" "$work/out/index.html" "$work/peer/"
  cp -r "$work/out/ruffle" "$work/peer/"
  "$metastamp" "$work/peer/clip.flv" /x >/dev/null
  peer=$(awk -v a="$start" -v b="$(now)" 'BEGIN {print b - a}')
  firsts+=("$first") seconds+=("$second") peers+=("$peer")
  ratios+=("$(awk -v a="$second" -v b="$peer" 'BEGIN {print a / b}')")
done
m() { printf '%s\n' "$@" | median; }
printf 'first publish (runtime copied)      median of %d: %.3f s\n' "$runs" "$(m "${firsts[@]}")"
printf 'second publish (Produce Web Page)   median of %d: %.3f s\n' "$runs" "$(m "${seconds[@]}")"
printf 'cp of the same files + metastamp /x median of %d: %.3f s\n' "$runs" "$(m "${peers[@]}")"
printf 'ratio second publish / cp + metastamp, median: %.2f\n' "$(m "${ratios[@]}")"
if [ -n "${BENCH_SUMMARY:-}" ]; then
  echo "second publish / cp + metastamp /x, wall|$(m "${ratios[@]}")||$(cut -d" " -f1-3 /proc/loadavg)" \
    >>"$BENCH_SUMMARY"
fi
