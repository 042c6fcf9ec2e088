#!/usr/bin/env bash
# Times metastamp against its peers on a ~400 MB FLV and its size report on 400 MB against 1 MB;
# and on a ~400 MB FLV written by vidforge, whose onMetaData has the room for metastamp to
# rewrite it in place: right after an encoding (target: at most 20 ms), and on the same FLV
# encoded earlier (target: at least 10 times faster than yamdi and flvmeta).
#   bench/metastamp.sh [runs]        (default 5; inputs are made once in $BENCH_DIR)
# With BENCH_SUMMARY set, appends one "name|ratio|target|load" line per ratio to that file.
# Every tool runs once per round, in turn, with the written data flushed (untimed) in between,
# so page cache and write-back favour none of them; figures are medians over the rounds and
# ratios are medians of the ratios within each round. Peak memory is the maximum resident
# size from /usr/bin/time (package "time").
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
work=${BENCH_DIR:-/tmp/metastamp-bench}
metastamp=$PWD/build/reelwright/metastamp
scripts/install-packages yamdi time  # the peer and the memory meter, for benchmarks only
vidforge=$PWD/build/reelwright/resources/vidforge
for tool in ffmpeg yamdi flvmeta /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is missing" >&2; exit 1; }
done
[ -x "$metastamp" ] || cmake --build build --target metastamp >/dev/null
[ -x "$vidforge" ] || cmake --build build --target vidforge >/dev/null
mkdir -p "$work"

# Inputs: 30 s of noisy 640x480 Sorenson H.263 at 4 Mbit/s with MP3, joined 26 times without
# re-encoding (~400 MB), and 2 s of the same (~1 MB).
big=$work/big.flv
small=$work/small.flv
if [ ! -f "$big" ] || [ ! -f "$small" ]; then
  echo "bench: making the inputs in $work" >&2
  source=(-f lavfi -i "testsrc2=size=640x480:rate=25,noise=alls=30:allf=t" -f lavfi -i sine)
  codecs=(-c:v flv -b:v 4M -c:a libmp3lame -b:a 128k)
  ffmpeg -loglevel error -y "${source[@]}" -t 30 "${codecs[@]}" "$work/part.flv"
  ffmpeg -loglevel error -y "${source[@]}" -t 2 "${codecs[@]}" "$small"
  for _ in $(seq 26); do echo "file '$work/part.flv'"; done >"$work/parts.txt"
  ffmpeg -loglevel error -y -f concat -safe 0 -i "$work/parts.txt" -c copy "$big"
  rm -f "$work/part.flv" "$work/parts.txt"
fi
# The vidforge FLV: 15 min of noisy 640x480 at 3.5 Mbit/s with 128 kbit/s MP3 (~400 MB),
# encoded from a 30 s clip played 30 times over (a concat list that states every duration, so
# that vidforge knows the length and reserves the room).
encoded=$work/vidforge.flv
# Its first megabyte, kept as vidforge wrote it: put back before every in-place run, so that
# each run rewrites the encoder's onMetaData for real.
encoded_head=$work/vidforge.head
if [ ! -f "$encoded" ] || [ ! -f "$encoded_head" ]; then
  echo "bench: making the vidforge FLV in $work (a few minutes)" >&2
  ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=640x480:rate=25,noise=alls=20:allf=t" \
    -f lavfi -i "sine=sample_rate=44100" -t 30 -c:v mpeg4 -q:v 3 -c:a pcm_s16le "$work/clip.avi"
  { echo "ffconcat version 1.0"; for _ in $(seq 30); do printf 'file clip.avi\nduration 30\n'; done; } \
    >"$work/clip.ffconcat"
  (cd "$work" && "$vidforge" -i clip.ffconcat -y -b 3500 -ab 128 -ar 44100 -ac 2 "$encoded.part")
  head -c 1048576 "$encoded.part" >"$encoded_head"
  mv "$encoded.part" "$encoded"
  rm -f "$work/clip.avi" "$work/clip.ffconcat"
fi
cp "$encoded" "$work/flvmeta_encoded.flv"
cp "$big" "$work/flvmeta.flv"
cp "$big" "$work/yamdi.flv"
sync

# measure NAME COMMAND...: appends "microseconds peak-KB cpu-seconds" to $work/NAME.times
measure() {
  local name=$1
  shift
  local start end
  # The shell's own clock, in microseconds: a date(1) process on either side would add its own
  # start-up (about a millisecond) to what is timed.
  start=${EPOCHREALTIME/[.,]/}
  /usr/bin/time -f "%M %U %S" -o "$work/memory" "$@" >/dev/null 2>&1
  end=${EPOCHREALTIME/[.,]/}
  # microseconds, peak KB, CPU seconds (user + system, to the 10 ms that time(1) resolves)
  echo "$((end - start)) $(awk '{ print $1, $2 + $3 }' "$work/memory")" >>"$work/$name.times"
  rm -f "$work/out.flv" "$work"/*.xml
  sync
}

# measure_in_place NAME FILE: metastamp on the vidforge FLV or a copy, its onMetaData put back as
# vidforge wrote it before each run. The time comes from a run of metastamp alone: /usr/bin/time's
# own start (about 1 ms, a twentieth of the target) is not metastamp's. Peak memory and CPU time
# come from the same run again under /usr/bin/time.
measure_in_place() {
  local name=$1 file=$2 start end
  restore_head "$file"
  start=${EPOCHREALTIME/[.,]/}
  "$metastamp" "$file" >/dev/null 2>&1
  end=${EPOCHREALTIME/[.,]/}
  restore_head "$file"
  /usr/bin/time -f "%M %U %S" -o "$work/memory" "$metastamp" "$file" >/dev/null 2>&1
  echo "$((end - start)) $(awk '{ print $1, $2 + $3 }' "$work/memory")" >>"$work/$name.times"
  sync
}

restore_head() { dd if="$encoded_head" of="$1" bs=256k conv=notrunc status=none && sync; }
# The vidforge FLV as an encoding leaves it: written front to back in the 256 KiB pieces FFmpeg's
# file output writes, so the page cache holds it as it holds a file vidforge has just written (in
# large pieces, which this machine's kernel reads faster than a file cached page by page). Flushed,
# so that metastamp's flush does not also pay for the video, which the encoding owes.
write_as_encoded() { dd if="$encoded" of="$fresh" bs=256k status=none && sync; }
fresh=$work/encoded-now.flv
# How much of the vidforge FLV the page cache holds, in percent: this machine's kernel drops
# pages nobody touched for a while, and those the in-place run must read from the disk.
cached_percent() { fincore --bytes --noheadings --output RES,SIZE "$encoded" | awk '{ printf "%d\n", 100 * $1 / $2 }'; }

load_before=$(cut -d" " -f1-3 /proc/loadavg)
rm -f "$work"/*.times "$work/cached.percent"
for _ in $(seq "$runs"); do
  # A stamped file has the room for its next onMetaData: the copy is timed on the original.
  cp "$big" "$work/metastamp.flv"
  sync
  # On the FLV written when the bench first ran, its page cache as this machine's use has left it.
  cached_percent >>"$work/cached.percent"
  measure_in_place in_place_older "$encoded"
  # Right after an encoding, as the application runs it; three runs a round, each costs little.
  for _ in 1 2 3; do
    write_as_encoded
    measure_in_place in_place "$fresh"
  done
  measure yamdi_encoded yamdi -i "$encoded" -o "$work/out.flv"
  measure flvmeta_encoded flvmeta --update "$work/flvmeta_encoded.flv"
  measure metastamp "$metastamp" "$work/metastamp.flv"
  measure yamdi yamdi -i "$big" -o "$work/out.flv"
  measure yamdi_replace sh -c 'yamdi -i "$0" -o "$1" && mv "$1" "$0"' "$work/yamdi.flv" "$work/out.flv"
  measure flvmeta flvmeta --update "$work/flvmeta.flv"
  measure cp cp "$big" "$work/out.flv"
  measure cp_sync sh -c 'cp "$0" "$1" && sync "$1"' "$big" "$work/out.flv"
  measure report_big "$metastamp" "$work/metastamp.flv" /x
  measure report_small "$metastamp" "$small" /x
done
rm -f "$fresh"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column_of() { awk -v c="$2" '{ print $c }' "$work/$1.times"; }
ms() { column_of "$1" 1 | median | awk '{ printf "%.1f ms", $1 / 1000 }'; }
seconds() { column_of "$1" 1 | median | awk '{ printf "%.2f s", $1 / 1000000 }'; }
memory() { column_of "$1" 2 | median | awk '{ printf "%.1f MB", $1 / 1024 }'; }
ratio() { paste "$work/$1.times" "$work/$2.times" | awk '{ print $1 / $4 }' | median | awk '{ printf "%.2f", $1 }'; }

size_mb() { du -m "$1" | cut -f1; }
echo "metastamp bench: $(size_mb "$big") MB FLV (15 min of 640x480 Sorenson H.263 + MP3), $runs rounds, medians"
printf '%-36s %10s %14s\n' "command" "time" "peak memory"
printf '%-36s %10s %14s\n' "metastamp FILE" "$(seconds metastamp)" "$(memory metastamp)"
printf '%-36s %10s %14s\n' "yamdi -i FILE -o OUT" "$(seconds yamdi)" "$(memory yamdi)"
printf '%-36s %10s %14s\n' "yamdi -i FILE -o OUT && mv OUT FILE" "$(seconds yamdi_replace)" "$(memory yamdi_replace)"
printf '%-36s %10s %14s\n' "flvmeta --update FILE" "$(seconds flvmeta)" "$(memory flvmeta)"
printf '%-36s %10s %14s\n' "cp FILE OUT" "$(seconds cp)" "$(memory cp)"
printf '%-36s %10s %14s\n' "cp FILE OUT && sync OUT" "$(seconds cp_sync)" "$(memory cp_sync)"
echo "metastamp's time as a ratio (it replaces FILE, flushed to disk, by a rename):"
echo "  to yamdi $(ratio metastamp yamdi), to yamdi && mv $(ratio metastamp yamdi_replace)," \
  "to flvmeta $(ratio metastamp flvmeta), to cp $(ratio metastamp cp), to cp && sync $(ratio metastamp cp_sync)"
echo "size report, metastamp FILE /x: $(size_mb "$big") MB $(ms report_big), 1 MB $(ms report_small)," \
  "ratio $(ratio report_big report_small); peak memory $(memory report_big)"

cpu() { column_of "$1" 3 | median | awk '{ printf "%.2f s", $1 }'; }
load_after=$(cut -d" " -f1-3 /proc/loadavg)
echo
echo "on the $(size_mb "$encoded") MB FLV written by vidforge (its onMetaData has room: metastamp" \
  "rewrites it in place), $runs rounds, medians; load average before $load_before, after $load_after"
printf '%-36s %10s %10s %14s\n' "command" "time" "cpu" "peak memory"
printf '%-36s %10s %10s %14s\n' "metastamp FILE, just encoded (x3)" "$(ms in_place)" "$(cpu in_place)" "$(memory in_place)"
printf '%-36s %10s %10s %14s\n' "metastamp FILE, encoded earlier" "$(ms in_place_older)" "$(cpu in_place_older)" "$(memory in_place_older)"
echo "  (the earlier one: before each run the page cache held $(median <"$work/cached.percent")% of it, median)"
printf '%-36s %10s %10s %14s\n' "yamdi -i FILE -o OUT" "$(ms yamdi_encoded)" "$(cpu yamdi_encoded)" "$(memory yamdi_encoded)"
printf '%-36s %10s %10s %14s\n' "flvmeta --update FILE" "$(ms flvmeta_encoded)" "$(cpu flvmeta_encoded)" "$(memory flvmeta_encoded)"
in_place_ms=$(column_of in_place 1 | median | awk '{ printf "%.1f", $1 / 1000 }')
older_ms=$(column_of in_place_older 1 | median | awk '{ printf "%.1f", $1 / 1000 }')
# The ratios take the earlier file, whose runs pair one to one with the peers' in each round.
to_yamdi=$(ratio in_place_older yamdi_encoded)
to_flvmeta=$(ratio in_place_older flvmeta_encoded)
echo "metastamp in place right after an encoding: ${in_place_ms} ms (target <= 20 ms); on the file" \
  "encoded earlier ${older_ms} ms, as a ratio to yamdi $to_yamdi, to flvmeta $to_flvmeta" \
  "(target <= 0.10: ten times faster)"
if [ -n "${BENCH_SUMMARY:-}" ]; then
  {
    echo "metastamp in place right after an encoding ($(size_mb "$encoded") MB), ms|$in_place_ms|<= 20|$load_after"
    echo "  the same on the FLV encoded earlier, ms|$older_ms||$load_after"
    echo "metastamp in place (FLV encoded earlier) / yamdi|$to_yamdi|<= 0.10|$load_after"
    echo "metastamp in place (FLV encoded earlier) / flvmeta --update|$to_flvmeta|<= 0.10|$load_after"
    echo "metastamp copy / yamdi (plain FLV)|$(ratio metastamp yamdi)||$load_after"
    echo "metastamp copy / cp && sync|$(ratio metastamp cp_sync)||$load_after"
  } >>"$BENCH_SUMMARY"
fi
