#!/usr/bin/env bash
# A folder of videos without a window: ten 10 s 640x480 clips with sound, each encoded at its
# own size (25 frames per second, 768 kbit/s, stereo at 44,100 Hz) and published into a folder
# of its own by reelwright-batch; all ten run one at a time, then two at a time. Prints the
# median wall time of RUNS rounds of each and their ratio (how much two at a time saves).
#
#   bench/batch.sh [RUNS]      (default 3; run scripts/build first)
# With BENCH_SUMMARY set, appends one "name|ratio|target|load" line (two at a time / one at a
# time) to that file.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
batch=$PWD/build/reelwright/reelwright-batch
[ -x "$batch" ] || { echo "no $batch: run scripts/build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for i in $(seq 1 10); do
  ffmpeg -v error -f lavfi -i "testsrc2=size=640x480:rate=25" \
    -f lavfi -i "sine=frequency=$((200 + 40 * i)):sample_rate=44100" -t 10 \
    -c:v mpeg4 -q:v 3 -c:a pcm_s16le "$work/clip$i.avi"
  mkdir -p "$work/site$i"
  printf '%s\r\n' "IPVIDEO=$work/clip$i.avi" "OPFOLDER=$work/site$i" "OPVIDEO=clip$i.flv" \
    "OPHTML=index.html" "RESOLUTION=0" "FRAMERATE=12" "VIDEOBITRATE=7" "ENABLEAUDIO=1" \
    "AUDIOBITRATE=6" "SAMPLINGRATE=2" "AUDIOMONO=0" "WHICHFILE=1" >"$work/job$i.reel"
done

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
now() { date +%s.%N; }
# One round: the ten jobs, PARALLEL at a time; prints the seconds. Any failed job fails it.
round() {
  rm -rf "$work"/site*/*
  local start end
  start=$(now)
  printf '%s\n' "$work"/job*.reel | xargs -P "$1" -I{} "$batch" {} >/dev/null 2>&1
  end=$(now)
  for i in $(seq 1 10); do [ -s "$work/site$i/index.html" ] || { echo "job $i failed" >&2; exit 1; }; done
  awk -v a="$start" -v b="$end" 'BEGIN {printf "%.3f\n", b - a}'
}
one=() two=()
for ((r = 0; r < runs; ++r)); do  # interleaved, so that both see the same machine
  one+=("$(round 1)")
  two+=("$(round 2)")
done
m1=$(printf '%s\n' "${one[@]}" | median)
m2=$(printf '%s\n' "${two[@]}" | median)
printf 'ten 10 s 640x480 clips, one at a time: %.2f s (median of %d)\n' "$m1" "$runs"
printf 'ten 10 s 640x480 clips, two at a time: %.2f s (median of %d)\n' "$m2" "$runs"
printf 'one at a time / two at a time: %.2f\n' "$(awk -v a="$m1" -v b="$m2" 'BEGIN {print a / b}')"
if [ -n "${BENCH_SUMMARY:-}" ]; then
  echo "ten clips in the batch, two at a time / one at a time, wall|$(awk -v a="$m2" -v b="$m1" 'BEGIN {printf "%.2f", a / b}')||$(cut -d" " -f1-3 /proc/loadavg)" >>"$BENCH_SUMMARY"
fi
