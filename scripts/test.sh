#!/usr/bin/env bash
# Sets up, builds and runs every test: the test suite built with
# AddressSanitizer and UndefinedBehaviorSanitizer, the Debian package (built
# as shipped) and its checks, then a short run of the codec fuzzer (clang,
# libFuzzer).
#
# The package and the fuzzer compile beside the suite's build and its run, at
# idle priority: they take only the time the suite leaves (its programs
# mostly wait, on the line and on pauses), and the checks that measure time
# keep the processor when they need it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
# Twice as many test programs as cores keep them busy without crowding them.
test_jobs=$((2 * jobs))
# The build folders here are rebuilt in place, which needs no compiler cache;
# a fresh clone elsewhere only misses it, and its misses cost more than they save.
export CCACHE_DISABLE=1
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
"$top/scripts/setup.sh"

# Line tables are all a sanitizer's report needs, at a fraction of the cost of
# full debugging information.
build_sanitized() {
  cmake -S "$top" -B "$top/build-asan" -G Ninja -DKVL_SANITIZE=ON -DKVL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG=-g1 >/dev/null
  cmake --build "$top/build-asan" -j"$jobs"
}
# The package is built without the tests, as the program ships; the
# benchmarks still compile.
build_package() {
  cmake -S "$top" -B "$top/build-package" -G Ninja -DKVL_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$top/build-package" -j"$jobs"
}
build_fuzzer() {
  CC=clang CXX=clang++ cmake -S "$top" -B "$top/build-fuzz" -G Ninja -DKVL_FUZZ=ON -DKVL_TESTS=OFF -DKVL_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" >/dev/null
  cmake --build "$top/build-fuzz" -j"$jobs" --target fuzz_codecs
}
build_beside_tests() {
  build_package && build_fuzzer
}
run_tests() {
  (cd "$1" && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 ctest --output-on-failure -j"$test_jobs")
}
fuzz() {
  mkdir -p "$top/build-fuzz/corpus"
  if ! "$top/build-fuzz/fuzz/fuzz_codecs" -max_total_time=5 -print_final_stats=1 \
       "$top/build-fuzz/corpus" "$top/fuzz/corpus" > "$top/build-fuzz/fuzz.log" 2>&1; then
    tail -n 40 "$top/build-fuzz/fuzz.log"
    echo "Le fuzzer a trouvé un défaut." >&2
    return 1
  fi
  grep -E 'stat::number_of_executed_units' "$top/build-fuzz/fuzz.log"
}

# Starts a build in the background at idle priority, its output kept aside.
build_beside() {
  ( chrt --idle -p 0 "$BASHPID" >/dev/null; "$1" ) > "$logs/$1.log" 2>&1 &
  beside=$!
}
# Waits for that build; shows its end, or all of it when it failed.
build_done() {
  if ! wait "$beside"; then
    cat "$logs/$1.log"
    echo "La construction ($1) a échoué." >&2
    exit 1
  fi
  tail -n 1 "$logs/$1.log"
}

echo "== Construction (AddressSanitizer et UndefinedBehaviorSanitizer ; le paquet et le fuzzer se construisent à côté)"
build_beside build_beside_tests
build_sanitized
echo "== Tests"
status=0
run_tests "$top/build-asan" || status=$?
build_done build_beside_tests
((status == 0)) || exit "$status"

echo "== Paquet Debian"
"$top/scripts/check_package.sh" "$top/build-package"

echo "== Fuzzing des codecs (5 s)"
fuzz
