#!/usr/bin/env bash
# Sets up, builds and runs every test: the test suite, the same suite built
# with AddressSanitizer and UndefinedBehaviorSanitizer, then a short run of
# the codec fuzzer (clang, libFuzzer).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
# The tests mostly wait (on the line, on pauses): twice as many as the cores
# keep them busy without crowding the checks that measure time.
test_jobs=$((2 * jobs))
"$top/scripts/setup.sh"

echo "== Tests"
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" -j"$jobs"
(cd "$top/build" && ctest --output-on-failure -j"$test_jobs")

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$top" -B "$top/build-asan" -DKVL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$top/build-asan" -j"$jobs"
(cd "$top/build-asan" && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 ctest --output-on-failure -j"$test_jobs")

echo "== Fuzzing the codecs (5 s)"
CC=clang CXX=clang++ cmake -S "$top" -B "$top/build-fuzz" -DKVL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build-fuzz" -j"$jobs" --target fuzz_codecs
mkdir -p "$top/build-fuzz/corpus"
if ! "$top/build-fuzz/fuzz/fuzz_codecs" -max_total_time=5 -print_final_stats=1 \
     "$top/build-fuzz/corpus" "$top/fuzz/corpus" > "$top/build-fuzz/fuzz.log" 2>&1; then
  tail -n 40 "$top/build-fuzz/fuzz.log"
  echo "Le fuzzer a trouvé un défaut." >&2
  exit 1
fi
grep -E 'stat::number_of_executed_units' "$top/build-fuzz/fuzz.log"
