#!/usr/bin/env bash
# Installs the dependencies, builds and runs every test: the plain build,
# the AddressSanitizer + UndefinedBehaviorSanitizer build, then each fuzz
# target for a bounded time.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
bash scripts/deps.sh
JOBS="$(nproc)"
FUZZ_SECONDS="${FUZZ_SECONDS:-60}"

echo "== plain build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$JOBS"
(cd build && ctest -j"$JOBS" --output-on-failure)

echo "== sanitizer build"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQGUI_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$JOBS"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build-asan && ctest -j"$JOBS" --output-on-failure)

echo "== fuzz targets (${FUZZ_SECONDS}s each)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQGUI_FUZZ=ON -DQGUI_SANITIZE=ON -DQGUI_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$JOBS" --target qgui_fuzzers
# fuzz target, seed folder, extra options
run_fuzzer() {
  local name="$1" seeds="$2"
  shift 2
  local corpus="build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  echo "-- $name"
  # The writable corpus comes first so the seeds in the tree stay as they are.
  "build-fuzz/fuzz/$name" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 "$@" "$corpus" "$seeds"
}
run_fuzzer fuzz_keyvalues_reader fuzz/corpus/keyvalues -dict=fuzz/keyvalues.dict
run_fuzzer fuzz_codepage fuzz/corpus/codepage
run_fuzzer fuzz_webaddress fuzz/corpus/webaddress -dict=fuzz/webaddress.dict
run_fuzzer fuzz_utf8 fuzz/corpus/utf8
# Markup from other players must never cost long: any input slower than the
# bound is a finding.
run_fuzzer fuzz_richtext fuzz/corpus/richtext -dict=fuzz/richtext.dict -max_len=16384 -timeout=5
echo "all tests passed"
