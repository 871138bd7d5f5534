#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the suite, the same
# suite under AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of
# every fuzz target.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

scripts/deps.sh test

phase() { echo "   ($1: $((SECONDS - mark)) s)"; mark=$SECONDS; }
mark=$SECONDS

echo "== build and test"
# Optimised but without debug information: the suite builds in two thirds of the time.
scripts/build.sh build -DGYREL_BUILD_TESTS=ON -DGYREL_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -DNDEBUG"
phase build
(cd build && ctest --output-on-failure -j"$jobs")
phase tests

echo "== build and test under AddressSanitizer + UndefinedBehaviorSanitizer, with the fuzz targets"
# One clang build serves both: the suite runs under the sanitizers, and the same
# objects carry the coverage the fuzz targets need.
CC=clang CXX=clang++ scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DGYREL_SANITIZE=ON -DGYREL_FUZZ=ON \
  -DGYREL_BUILD_BENCH=OFF
phase "sanitizer build"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs")
phase "sanitizer tests"

echo "== fuzz targets, briefly"
seconds=${GYREL_FUZZ_SECONDS:-10}
fuzz_one() {
  local target=$1 name corpus
  name=$(basename "$target")
  corpus=build-asan/corpus/$name
  mkdir -p "$corpus"
  local seeds=()
  [ -d "fuzz/seeds/$name" ] && seeds=("fuzz/seeds/$name")
  local rc=0
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "$corpus" "${seeds[@]}" \
    >"build-asan/$name.log" 2>&1 || rc=$?
  echo "$rc" >"build-asan/$name.rc"
}
# One target per core at a time; each is a single process.
pids=() names=()
for target in build-asan/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  if [ ${#pids[@]} -ge "$jobs" ]; then wait "${pids[0]}" || true; pids=("${pids[@]:1}"); fi
  fuzz_one "$target" & pids+=($!); names+=("$(basename "$target")")
done
wait || true
ran=0
for name in "${names[@]}"; do
  if [ "$(cat "build-asan/$name.rc" 2>/dev/null)" != 0 ]; then
    tail -40 "build-asan/$name.log"; echo "fuzz target $name failed"; exit 1
  fi
  echo "$name: $(grep -Eo 'Done [0-9]+ runs.*' "build-asan/$name.log" | tail -1)"
  ran=$((ran + 1))
done
phase "fuzz runs"
echo "$ran fuzz targets ran ${seconds}s each without a finding"

echo "== the logic and its unit tests on Windows (MinGW-w64, under Wine)"
scripts/windows_test.sh build-win
phase "Windows build and tests"
