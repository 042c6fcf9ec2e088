#!/usr/bin/env bash
# The user's wait: a 60 s 640x480 video from Start Encoding to the tick, in the real window with
# the real encoder and metadata tool; and an MS Video 1 video of the same length through the
# Convert Video dialog (conversion, then encoding). The conversion is timed beside the ffmpeg
# command line doing the same job (MPEG-4 V2 at a fixed high quality, PCM sound, AVI), the two
# alternating; target: the conversion takes at most 0.8 of the command's time. Medians of RUNS
# runs each, with CPU time (the conversion runs in the app's own process) and the load average.
#
#   bench/encoding-run.sh [RUNS]      (default 5; run scripts/build first)
# With BENCH_SUMMARY set, appends one "name|ratio|target|load" line per ratio to that file.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
test_binary=build/tests/encode/end_to_end_test
[ -x "$test_binary" ] || { echo "no $test_binary: run scripts/build first" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package: time)" >&2; exit 1; }
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
ffmpeg_conversion() {  # prints "wall-seconds cpu-seconds" of the command line's conversion
  /usr/bin/time -f "%e %U %S" -o "$work/time" ffmpeg -v error -nostdin -y -i "$work/old.avi" \
    -c:v msmpeg4v2 -q:v 2 -c:a pcm_s16le "$work/ffmpeg.avi"
  awk '{ print $1, $2 + $3 }' "$work/time"
}

load_before=$(cut -d" " -f1-3 /proc/loadavg)
for input in movie old; do
  results=()
  ffmpeg_runs=()
  for ((i = 0; i < runs; ++i)); do
    rm -f "$work"/*.flv "$work"/*_converted.avi
    results+=("$(time_one "$work/$input.avi")")
    [ "$input" = old ] && ffmpeg_runs+=("$(ffmpeg_conversion)")
  done
  total=$(printf '%s\n' "${results[@]}" | awk '{print $1}' | median)
  case $input in
    movie) echo "MPEG-4 AVI, 60 s 640x480: start to tick, median of $runs: ${total} s" ;;
    old)
      conv=$(printf '%s\n' "${results[@]}" | sed -n 's/.*conversion \([0-9.]*\) s.*/\1/p' | median)
      conv_cpu=$(printf '%s\n' "${results[@]}" | sed -n 's/.*cpu \([0-9.]*\) s.*/\1/p' | median)
      ff=$(printf '%s\n' "${ffmpeg_runs[@]}" | awk '{print $1}' | median)
      ff_cpu=$(printf '%s\n' "${ffmpeg_runs[@]}" | awk '{print $2}' | median)
      # The ratio of each run's pair, then their median: the pairs ran side by side.
      ratio=$(paste <(printf '%s\n' "${results[@]}" | sed -n 's/.*conversion \([0-9.]*\) s.*/\1/p') \
        <(printf '%s\n' "${ffmpeg_runs[@]}" | awk '{print $1}') | awk '{ print $1 / $2 }' | median |
        awk '{ printf "%.2f", $1 }')
      load_after=$(cut -d" " -f1-3 /proc/loadavg)
      echo "MS Video 1 AVI, 60 s 640x480: start to tick ${total} s, of it the conversion ${conv} s" \
        "(cpu ${conv_cpu} s) (medians of $runs)"
      echo "ffmpeg -i old.avi -c:v msmpeg4v2 -q:v 2 -c:a pcm_s16le out.avi: ${ff} s (cpu ${ff_cpu} s)"
      echo "conversion / ffmpeg command: wall $ratio (target <= 0.80);" \
        "load average before $load_before, after $load_after"
      [ -n "${BENCH_SUMMARY:-}" ] &&
        echo "conversion / ffmpeg msmpeg4v2 command, wall|$ratio|<= 0.80|$load_after" >>"$BENCH_SUMMARY"
      ;;
  esac
done
