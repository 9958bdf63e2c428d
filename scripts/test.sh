#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in the normal
# build, then the picture-reader fuzzers for FUZZ_SECONDS each (60 by default,
# scripts/fuzz.sh), then every test again with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --test-dir build --output-on-failure -j 2

scripts/fuzz.sh

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAVONA_SANITIZE=ON \
  -DPAVONA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions="$PWD/scripts/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -j 2
