#!/usr/bin/env bash
# Builds every fuzz/fuzz_*.cpp with clang, libFuzzer and the address and undefined-behaviour
# sanitizers, and runs each for a while on a working copy of its seed corpus fuzz/corpus/<name>/.
#
#   fuzz/run.sh [-t SECONDS] [-o BUILD_DIR] [NAME...]     (NAME as in fuzz_NAME.cpp; all by default)
#
# New inputs go to BUILD_DIR/corpus/<name>/, crashes to BUILD_DIR/artifacts/<name>/; the seed
# corpora in the tree are only read. One worker, one job: the machines this runs on are small.
# Exit status 1 when a target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
out=build-fuzz
while getopts "t:o:" opt; do
  case $opt in
    t) seconds=$OPTARG ;;
    o) out=$OPTARG ;;
    *) echo "usage: fuzz/run.sh [-t SECONDS] [-o BUILD_DIR] [NAME...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
root=$(pwd)
mkdir -p "$out"
out=$(cd "$out" && pwd)

CXX=${CXX_FUZZ:-clang++}
if ! command -v "$CXX" >/dev/null; then
  echo "fuzz/run.sh: $CXX not found; install clang (scripts/setup.sh does)." >&2
  exit 2
fi

flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -I. -Ifuzz -fsanitize=address,undefined
       -fno-sanitize-recover=undefined)
mkdir -p "$out/obj"

# The Qt-free libraries the targets stand on (the reader's feed cutting among them), compiled once
# with coverage for the fuzzer (the theme-file reader and writer are the Qt-free part of the skin).
sources=(http/*.cpp framework/core/*.cpp reader/*.cpp skin/TsuiThemeFileReader.cpp skin/TsuiThemeFileWriter.cpp)
# An object is rebuilt when its source or any header is newer: a header that changed a class's
# layout would otherwise leave objects that disagree about it.
newest_header=$(ls -t http/*.h framework/core/*.h reader/*.h skin/TsuiThemeFile*.h | head -n 1)
printf '%s\n' "${sources[@]}" | xargs -P 2 -I{} sh -c '
  obj="$0/obj/$(echo "{}" | tr / _).o"
  if [ ! -f "$obj" ] || [ "{}" -nt "$obj" ] || [ "$1" -nt "$obj" ]; then
    '"$CXX"' '"${flags[*]}"' -fsanitize=fuzzer-no-link -c "{}" -o "$obj"
  fi' "$out" "$newest_header"

# Only the objects of today's sources: one left from a file since removed would still link.
objects=()
for src in "${sources[@]}"; do
  objects+=("$out/obj/$(echo "$src" | tr / _).o")
done

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for f in fuzz/fuzz_*.cpp; do
    n=$(basename "$f" .cpp); targets+=("${n#fuzz_}")
  done
fi

found=0
for name in "${targets[@]}"; do
  src=fuzz/fuzz_$name.cpp
  bin=$out/fuzz_$name
  echo "== $name: building"
  $CXX "${flags[@]}" -fsanitize=fuzzer "$src" "${objects[@]}" -o "$bin" -lpthread -lpsl -lssl -lcrypto
  mkdir -p "$out/corpus/$name" "$out/artifacts/$name" "$out/logs"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("$root/fuzz/corpus/$name")
  echo "== $name: fuzzing for ${seconds}s"
  log=$out/logs/$name.log
  rm -f "$out/logs/fuzz-0.log"
  if (cd "$out/logs" && "$bin" -workers=1 -jobs=1 -max_total_time="$seconds" -max_len=16384 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/artifacts/$name/" \
        "$out/corpus/$name" "${seeds[@]}" >"$name.out" 2>&1); then
    status=ok
  else
    status=FOUND
    found=1
  fi
  # With -jobs the run's own report is in fuzz-0.log.
  [ -f "$out/logs/fuzz-0.log" ] && mv "$out/logs/fuzz-0.log" "$log" || cp "$out/logs/$name.out" "$log"
  execs=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+|#[0-9]+' "$log" | tail -1 | grep -Eo '[0-9]+$' || true)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  echo "== $name: $status, executions ${execs:-?}; $last"
  ls "$out/artifacts/$name" 2>/dev/null | sed "s|^|   artifact: $out/artifacts/$name/|"
  [ "$status" = FOUND ] && grep -E 'ERROR|check failed|runtime error|SUMMARY' "$log" | head -5 | sed 's/^/   /'
done
exit $found
