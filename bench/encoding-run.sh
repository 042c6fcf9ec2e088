#!/usr/bin/env bash
# The user's wait: a 60 s 640x480 video from Start Encoding to the tick, in the real window with
# the real encoder and metadata tool; and an MS Video 1 video of the same length through the
# Convert Video dialog (conversion, then encoding). Medians of RUNS runs each.
#
#   bench/encoding-run.sh [RUNS]      (default 3; run scripts/build first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
test_binary=build/tests/encode/end_to_end_test
[ -x "$test_binary" ] || { echo "no $test_binary: run scripts/build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

src=(-f lavfi -i testsrc2=size=640x480:rate=25 -f lavfi -i sine=frequency=440:sample_rate=44100 -t 60)
ffmpeg -v error "${src[@]}" -c:v mpeg4 -q:v 3 -c:a pcm_s16le "$work/movie.avi"
ffmpeg -v error "${src[@]}" -c:v msvideo1 -vtag CRAM -c:a pcm_s16le "$work/old.avi"

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
time_one() {  # prints the seconds (and the conversion's) of one run
  QT_QPA_PLATFORM=offscreen REELWRIGHT_TIMING_INPUT="$1" "$test_binary" \
    --gtest_filter=EndToEndTest.TimingOfOneInput 2>/dev/null | sed -n 's/^start-to-tick //p'
}
for input in movie old; do
  results=()
  for ((i = 0; i < runs; ++i)); do
    rm -f "$work"/*.flv "$work"/*_converted.avi
    results+=("$(time_one "$work/$input.avi")")
  done
  total=$(printf '%s\n' "${results[@]}" | awk '{print $1}' | median)
  case $input in
    movie) echo "MPEG-4 AVI, 60 s 640x480: start to tick, median of $runs: ${total} s" ;;
    old)
      conv=$(printf '%s\n' "${results[@]}" | sed -n 's/.*conversion \([0-9.]*\) s.*/\1/p' | median)
      echo "MS Video 1 AVI, 60 s 640x480: start to tick ${total} s, of it the conversion ${conv} s (medians of $runs)" ;;
  esac
done
