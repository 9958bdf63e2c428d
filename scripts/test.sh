#!/usr/bin/env bash
# Installs what is missing, checks the formatting and that no include runs
# back up a layer (scripts/check-layers.sh), and builds and runs every
# test: the normal build (warnings are errors), from which the Debian package
# is made and its file list checked (scripts/check-package.sh); a build
# without Qt, which must still build the command line and the benchmarks and
# pass the conversion, picture file and command-line tests (same compiler
# flags as the first round, so ccache already holds its objects); the
# picture-reader fuzzers for FUZZ_SECONDS each (60 by default,
# scripts/fuzz.sh); the build without Qt cross-built for 64-bit ARM with
# its tests and golden files under qemu-user (scripts/test-arm64.sh); the
# build without Qt under ThreadSanitizer, as the searches, the dithering and
# the command line's file writing run on several threads (Qt is not built
# with it, so the GUI's tests would report its own threads); and a build
# under AddressSanitizer and UndefinedBehaviorSanitizer. The last line
# printed is ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
scripts/check-layers.sh
source scripts/ccache-env.sh

step() { echo "== $* ($(date +%T))"; }

step "normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAVONA_WERROR=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j 2

step "Debian package"
scripts/check-package.sh build

step "build without Qt"
cmake -S . -B build-nogui -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAVONA_WERROR=ON \
  -DPAVONA_BUILD_GUI=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON >/dev/null
cmake --build build-nogui
ctest --test-dir build-nogui --output-on-failure -j 2

step "fuzzers"
scripts/fuzz.sh

step "arm64 build under qemu-user"
ARM64_JOBS=2 scripts/test-arm64.sh

step "thread sanitizer build without Qt"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAVONA_WERROR=ON \
  -DPAVONA_BUILD_GUI=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON -DPAVONA_SANITIZE_THREAD=ON \
  -DPAVONA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-tsan
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j 2

step "sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAVONA_WERROR=ON \
  -DPAVONA_SANITIZE=ON -DPAVONA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions="$PWD/scripts/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -j 2
