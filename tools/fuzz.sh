#!/usr/bin/env bash
# Fuzzes one target of fuzz/ for a while:
#
#   tools/fuzz.sh NAME SECONDS [libFuzzer options...]
#
# NAME is bmp, ustar, numbers, scenario, scenariofolder, events, savedgame, script, replay or
# settings. Builds the target with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ (installing clang when it is
# missing), then runs it at the lowest priority from its seed corpus and
# dictionary. The inputs it finds worth keeping go to build-fuzz/corpus/NAME/;
# the seeds in fuzz/corpus/NAME/ stay as they are. It goes on past a crash;
# each new kind of crash, timeout or running out of memory is kept once, as
# fuzz/crashes/NAME/open/FILE with the sanitizer's report in FILE.log. Once
# the fault is fixed, move FILE up into fuzz/crashes/NAME/: the tests replay
# every file there.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
targets="bmp ustar numbers scenario scenariofolder events savedgame script replay settings"
if [ $# -lt 2 ] || ! [[ " $targets " == *" $1 "* ]] || ! [[ "$2" =~ ^[0-9]+$ ]]; then
  echo "usage: tools/fuzz.sh NAME SECONDS [libFuzzer options...]" >&2
  echo "NAME: $targets" >&2
  exit 2
fi
name="$1"
seconds="$2"
shift 2

# clang and its runtime libraries (libFuzzer, the sanitizers) from Debian.
if ! command -v clang++ >/dev/null || ! dpkg-query -W -f='${Status}' libclang-rt-dev 2>/dev/null |
  grep -q 'install ok installed'; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing clang and libclang-rt-dev"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq clang libclang-rt-dev
fi

build="$repo/build-fuzz"
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORVATH_FUZZ=ON -DKORVATH_CORE_ONLY=ON -DKORVATH_BENCH=OFF >/dev/null
fi
nice -n 19 cmake --build "$build" -j2 --target "${name}_fuzz"
fuzzer="$build/fuzz/${name}_fuzz"

work="$build/corpus/$name"
scratch="$build/artifacts/$name"
open="$repo/fuzz/crashes/$name/open"
logs="$build/logs"
mkdir -p "$work" "$scratch" "$logs"
rm -f "$scratch"/*
log="$logs/$name.log"

# The fuzz game folders live here and go with each run, also after a crash.
export TMPDIR="$build/tmp/$name"
rm -rf "$TMPDIR"
mkdir -p "$TMPDIR"
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

seeds=("$repo/fuzz/corpus/$name")
[ -n "$(find "$repo/fuzz/crashes/$name" -maxdepth 1 -type f ! -name '.*' 2>/dev/null)" ] &&
  seeds+=("$repo/fuzz/crashes/$name")
max_len=()
case "$name" in
  scenario | savedgame) max_len=(-max_len=65536) ;;
esac

echo "Fuzzing $name for $seconds s (log: $log)"
status=0
nice -n 19 "$fuzzer" "$work" "${seeds[@]}" -dict="$repo/fuzz/$name.dict" \
  -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 "${max_len[@]}" \
  -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
  -artifact_prefix="$scratch/" "$@" >"$log" 2>&1 || status=$?
rm -rf "$TMPDIR"
grep -E '^#[0-9]+' "$log" | tail -n 1 || true

# One file per kind of finding: kinds are told apart by the sanitizer's summary
# line and the first frame in the game's own code.
kind() {
  awk '/^SUMMARY:/ { s = $0 }
       /^ *#[0-9]+ / && / in / && f == "" && /\/(src|tools|fuzz)\// {
         f = $0; sub(/^ *#[0-9]+ 0x[0-9a-f]+ in /, "", f) }
       END { print s " @ " f }' "$1"
}
found=0
declare -A known=()
for old in "$open"/*.log; do
  [ -f "$old" ] && known["$(kind "$old")"]=1
done
# Smallest first; slow inputs are kept too, but they are no finding by themselves.
while IFS= read -r input; do
  f="$(basename "$input")"
  report="$input.log"
  mkdir -p "$TMPDIR"
  again=0
  timeout 120 nice -n 19 "$fuzzer" -timeout=20 -rss_limit_mb=2048 "$input" >"$report" 2>&1 || again=1
  rm -rf "$TMPDIR"
  k="$(kind "$report")"
  if [ "$again" -eq 0 ]; then
    # A timeout while the machine was busy, most often.
    echo "did not happen again on its own: $input"
  elif [ -z "${known[$k]:-}" ]; then
    known["$k"]=1
    mkdir -p "$open"
    cp "$input" "$open/$f"
    cp "$report" "$open/$f.log"
    echo "new finding: fuzz/crashes/$name/open/$f"
    echo "  $k"
    found=$((found + 1))
  fi
done < <(find "$scratch" -maxdepth 1 -type f ! -name '*.log' ! -name 'slow-unit-*' -printf '%s %p\n' |
  sort -n | cut -d' ' -f2-)
echo "$name: $found new kinds of finding"
if [ "$status" -ne 0 ]; then
  echo "the fuzzer stopped with status $status; see $log" >&2
  exit "$status"
fi
