#!/usr/bin/env bash
# Encoding speed and memory of vidforge against the ffmpeg command line with the same output
# settings (Sorenson Spark + MP3 in FLV, key frame every 2 s), on a 60 s 640x480 MPEG-4 AVI
# with sound made here. Runs alternate; prints medians of wall-clock and CPU time (user + system:
# steadier on a shared machine), the ratios vidforge/ffmpeg as medians of each round's ratio
# (targets: wall time at most 0.75, peak resident memory at most 1.2) and the load average
# before and after each job. vidforge
# runs the video encoder on a thread of its own beside the decoding, so its wall time falls below
# its CPU time.
# With BENCH_SUMMARY set, appends one "name|ratio|target|load" line per ratio to that file.
#
#   bench/vidforge.sh [RUNS]        (default 9 runs of each program per job)
#
# Needs a built vidforge (scripts/build, which builds with optimisation) and /usr/bin/time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages time  # /usr/bin/time, for benchmarks only

runs=${1:-9}
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
  local load_before
  load_before=$(cut -d" " -f1-3 /proc/loadavg)
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
  local load_after
  load_after=$(cut -d" " -f1-3 /proc/loadavg)
  echo
  echo "== $job ($runs runs each, alternating; load average before $load_before, after $load_after)"
  printf '%-10s wall %6.2f s   cpu %6.2f s   peak RSS %6d KB   output %s\n' \
    vidforge "$vf_time" "$vf_cpu" "$vf_mem" "$(du -k "$work/vidforge.flv" | cut -f1) KB" \
    ffmpeg "$ff_time" "$ff_cpu" "$ff_mem" "$(du -k "$work/ffmpeg.flv" | cut -f1) KB"
  # Ratios: the median of the ratios within each round (the two programs ran one right after
  # the other, so a shared machine's changing speed falls on both alike).
  local wall_ratio cpu_ratio memory_ratio
  paired_ratio() {
    paste -d' ' "$work/vidforge" "$work/ffmpeg" | awk -v c="$1" '{ print $c / $(c + 3) }' |
      median | awk '{ printf "%.2f", $1 }'
  }
  wall_ratio=$(paired_ratio 1)
  memory_ratio=$(paired_ratio 2)
  cpu_ratio=$(paired_ratio 3)
  echo "ratio vidforge/ffmpeg: wall $wall_ratio (target <= 0.75), cpu $cpu_ratio," \
    "peak memory $memory_ratio (target <= 1.20);" \
    "wall as the ratio of the medians: $(awk -v a="$vf_time" -v b="$ff_time" 'BEGIN { printf "%.2f", a / b }')"
  if [ -n "${BENCH_SUMMARY:-}" ]; then
    {
      echo "vidforge/ffmpeg wall, $job|$wall_ratio|<= 0.75|$load_after"
      echo "vidforge/ffmpeg cpu, $job|$cpu_ratio||$load_after"
      echo "vidforge/ffmpeg peak memory, $job|$memory_ratio|<= 1.20|$load_after"
    } >>"$BENCH_SUMMARY"
  fi
}

bench "source size and rate, 768 kbit/s" "" "" 50
bench "320x240 at 15 fps, 768 kbit/s" "-s 320x240 -r 15" "-s 320x240 -r 15" 30
