#!/usr/bin/env bash
# Encoding speed and memory of vidforge against the ffmpeg command line with the same output
# settings (Sorenson Spark + MP3 in FLV, key frame every 2 s), on a 60 s 640x480 MPEG-4 AVI
# with sound made here. Runs alternate; prints medians of wall-clock and CPU time (user + system:
# steadier on a shared machine), the ratios vidforge/ffmpeg (target: at most 1.0) and the peak
# resident memory of each.
#
#   bench/vidforge.sh [RUNS]        (default 5 runs of each program per job)
#
# Needs a built vidforge (scripts/build, which builds with optimisation) and /usr/bin/time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages time  # /usr/bin/time, for benchmarks only

runs=${1:-5}
vidforge=$PWD/build/reelwright/resources/vidforge
[ -x "$vidforge" ] || { echo "no $vidforge: run scripts/build first" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package: time)" >&2; exit 1; }
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' build/CMakeCache.txt)
echo "vidforge built as: ${build_type:-<no build type: unoptimised>}; load average: $(cut -d" " -f1-3 /proc/loadavg)"

work=$(mktemp -d /tmp/vidforge-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
source=$work/source.avi
ffmpeg -hide_banner -loglevel error -y \
  -f lavfi -i testsrc2=size=640x480:rate=25:duration=60 \
  -f lavfi -i "sine=frequency=440:beep_factor=4:duration=60" \
  -c:v mpeg4 -q:v 4 -c:a pcm_s16le "$source"
echo "source: 60 s, 640x480, 25 fps, MPEG-4 part 2 + PCM in AVI, $(du -h "$source" | cut -f1)"

# time_run LABEL COMMAND...: appends "wall-seconds kilobytes cpu-seconds" of one run to $work/LABEL.
time_run() {
  local label=$1
  shift
  (cd "$work" && /usr/bin/time -f "%e %M %U %S" -o "$work/one" "$@" >/dev/null 2>&1) ||
    { echo "$label failed: $*" >&2; exit 1; }
  awk '{ print $1, $2, $3 + $4 }' "$work/one" >> "$work/$label"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# bench JOB VIDFORGE_SIZE_RATE FFMPEG_SIZE_RATE KEYFRAME_INTERVAL
bench() {
  local job=$1 vf_picture=$2 ff_picture=$3 gop=$4
  rm -f "$work/vidforge" "$work/ffmpeg"
  for ((i = 0; i < runs; i++)); do
    time_run vidforge "$vidforge" -i "$source" -vstats -y $vf_picture -b 768 \
      -ab 64 -ar 22050 -ac 2 "$work/vidforge.flv"
    time_run ffmpeg ffmpeg -hide_banner -nostdin -y -i "$source" $ff_picture \
      -c:v flv -b:v 768k -g "$gop" -c:a libmp3lame -b:a 64k -ar 22050 -ac 2 "$work/ffmpeg.flv"
  done
  local vf_time ff_time vf_cpu ff_cpu vf_mem ff_mem
  vf_time=$(cut -d' ' -f1 "$work/vidforge" | median)
  ff_time=$(cut -d' ' -f1 "$work/ffmpeg" | median)
  vf_mem=$(cut -d' ' -f2 "$work/vidforge" | median)
  ff_mem=$(cut -d' ' -f2 "$work/ffmpeg" | median)
  vf_cpu=$(cut -d' ' -f3 "$work/vidforge" | median)
  ff_cpu=$(cut -d' ' -f3 "$work/ffmpeg" | median)
  echo
  echo "== $job ($runs runs each, alternating)"
  printf '%-10s wall %6.2f s   cpu %6.2f s   peak RSS %6d KB   output %s\n' \
    vidforge "$vf_time" "$vf_cpu" "$vf_mem" "$(du -k "$work/vidforge.flv" | cut -f1) KB" \
    ffmpeg "$ff_time" "$ff_cpu" "$ff_mem" "$(du -k "$work/ffmpeg.flv" | cut -f1) KB"
  awk -v a="$vf_time" -v b="$ff_time" -v c="$vf_cpu" -v d="$ff_cpu" 'BEGIN {
    printf "ratio vidforge/ffmpeg: wall %.2f, cpu %.2f (target <= 1.00)\n", a / b, c / d }'
}

bench "source size and rate, 768 kbit/s" "" "" 50
bench "320x240 at 15 fps, 768 kbit/s" "-s 320x240 -r 15" "-s 320x240 -r 15" 30
