#!/usr/bin/env bash
# The Debian package, installed into a scratch root and used by an ordinary user who cannot
# write the program folder: the settings written at exit land in the user's folder and come
# back at the next start, an encoding succeeds with its progress shown, and two programs
# encoding at once each keep their own progress file.
# Usage: installed_package_test.sh BUILD_FOLDER INSTALLED_SESSION
set -euo pipefail
build=$1
session_program=$2

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
[ "$(id -u)" -eq 0 ] || { echo "needs root to act as another user; skipped"; exit 77; }

scratch=$(mktemp -d)
chmod 755 "$scratch"
trap 'rm -rf "$scratch"' EXIT

# The package, made from the build as scripts/package makes it, unpacked as dpkg would.
(cd "$build" && cpack -G DEB -B "$scratch/package") >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack could not make the package"; }
deb=$(echo "$scratch"/package/reelwright_*_*.deb)
[ -f "$deb" ] || fail "no reelwright_VERSION_ARCH.deb in $scratch/package"
dpkg -x "$deb" "$scratch/root"
program="$scratch/root/usr/lib/reelwright"
[ -x "$program/reelwright" ] && [ -x "$program/resources/vidforge" ] && [ -x "$program/metastamp" ] &&
  [ -x "$program/resources/webtwin" ] ||
  fail "the program folder lacks its programs"
[ "$(readlink -f "$scratch/root/usr/bin/reelwright")" = "$program/reelwright" ] ||
  fail "/usr/bin/reelwright does not lead to the program folder"

# The package brings its presets; an administrator may ship defaults of their own in their place.
cmp -s "$program/reelwright.ini" "$(dirname "$0")/../../res/reelwright.ini" ||
  fail "the package lacks the shipped presets"
printf '[Option0]\r\nname=Office default\r\nresolution=3\r\n' >"$program/reelwright.ini"
chmod -R go-w "$scratch/root"
folder_listing() { (cd "$program" && find . -printf '%p %s %T@\n' | sort); }
before=$(folder_listing)

# An ordinary user nobody else uses, with a home and a session runtime folder of their own.
uid=61000
while getent passwd "$uid" >/dev/null || getent group "$uid" >/dev/null; do uid=$((uid + 1)); done
home="$scratch/home"
runtime="$scratch/runtime"
work="$scratch/work"
mkdir -p "$home" "$runtime" "$work/one" "$work/two"
chown -R "$uid:$uid" "$home" "$runtime" "$work"
chmod 700 "$runtime"
cp "$session_program" "$scratch/installed_session"
as_user() {
  setpriv --reuid="$uid" --regid="$uid" --clear-groups \
    env -i HOME="$home" PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen \
    "$@"
}
session() { as_user "$scratch/installed_session" "$program" "$@"; }
expect_line() {  # OUTPUT LINE: the session printed LINE
  grep -qxF -- "$2" <<<"$1" || fail "expected \"$2\" in:"$'\n'"$1"
}
value() { sed -n "s/^$2: //p" <<<"$1"; }

# A machine whose root folder is private to root (a chroot made with mktemp -d is) lets no
# ordinary user start any program at all: nothing here could be tried.
as_user /bin/true 2>/dev/null ||
  { echo "an ordinary user cannot start programs on this machine (is / private?); skipped"; exit 77; }

# The installed program starts from the command on the PATH (and is still running when stopped).
status=0
as_user timeout 3 "$scratch/root/usr/bin/reelwright" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the installed reelwright did not stay up (status $status)"

# First start: the administrator's defaults; leaving writes the user's own files.
out=$(session settings partner-7)
expect_line "$out" "affiliate: "
expect_line "$out" "presets: Office default"
config="$home/.config/reelwright"
[ "$(cat "$config/affiliate.cfg")" = "partner-7" ] || fail "affiliate.cfg not in $config"
grep -q "^name=Office default" "$config/reelwright.ini" || fail "reelwright.ini not in $config"
[ "$(stat -c %U "$config/reelwright.ini")" = "$(stat -c %U "$home")" ] ||
  fail "the settings file is not the user's"

[ "$(folder_listing)" = "$before" ] || fail "leaving wrote into the program folder"

# Next start: the user's files are read, whatever the defaults beside the program say now.
sed -i 's/Office default/Changed default/' "$program/reelwright.ini"
before=$(folder_listing)
out=$(session settings partner-8)
expect_line "$out" "affiliate: partner-7"
expect_line "$out" "presets: Office default"

# Two programs encoding at once, each into its own output folder; one leaves through the Exit
# button, which ends the process at once, the other through the close box. The clip is long
# enough for the 500 ms progress timer to see the encoder at work: 30 s take it half a second.
ffmpeg -v error -f lavfi -i testsrc=size=640x480:rate=30:duration=120 -f lavfi -i sine=duration=120 \
  -c:v mpeg4 -q:v 8 -c:a pcm_s16le "$work/input.avi"
chmod 644 "$work/input.avi"
session encode "$work/input.avi" "$work/one" exit-button >"$scratch/one.txt" &
first=$!
sleep 0.3
session encode "$work/input.avi" "$work/two" close-box >"$scratch/two.txt" &
second=$!
wait "$first" || fail "the first program failed: $(cat "$scratch/one.txt")"
wait "$second" || fail "the second program failed: $(cat "$scratch/two.txt")"
one=$(cat "$scratch/one.txt")
two=$(cat "$scratch/two.txt")
for out in "$one" "$two"; do
  expect_line "$out" "encoded: 1"
  expect_line "$out" "conversion-offered: 0"
  expect_line "$out" "stat-went-back: 0"
  bar=$(value "$out" bar-seen)
  [ "$bar" -gt 0 ] && [ "$bar" -lt 100 ] || fail "the bar never showed the progress:"$'\n'"$out"
  [ "$(value "$out" stat-seen)" -gt 0 ] || fail "no progress file seen:"$'\n'"$out"
  folder=$(value "$out" working-folder)
  [ "$(dirname "$folder")" = "$runtime/reelwright" ] || fail "encoder folder $folder"
  [ ! -e "$folder" ] || fail "the encoder folder $folder is still there after the exit"
done
[ "$(value "$one" working-folder)" != "$(value "$two" working-folder)" ] ||
  fail "both programs used one encoder folder"
read -r start_one end_one <<<"$(value "$one" run)"
read -r start_two end_two <<<"$(value "$two" run)"
[ "$start_two" -lt "$end_one" ] && [ "$start_one" -lt "$end_two" ] ||
  fail "the two encodings did not overlap; nothing was shown"
for flv in "$work/one/movie.flv" "$work/two/movie.flv"; do
  [ -s "$flv" ] || fail "$flv was not written"
done

# The program folder is exactly as installed: nothing was written into it.
[ "$(folder_listing)" = "$before" ] || fail "the program folder changed"
echo "installed package: settings, encoding and two programs at once as user $uid: ok"
