#!/usr/bin/env bash
# Builds the libFuzzer harnesses of tests/fuzz/ with clang into build-fuzz/
# and runs each one for FUZZ_SECONDS (60 by default) over its seed corpus
# tests/fuzz/corpus/<reader>/. Fails on any crash, sanitizer report, leak,
# input slower than 10 s or run above 600 MB (the readers let even a small
# file declare a picture of up to 200 MB, and the sanitizers add their own).
# An input that made a harness fail is copied into the seed corpus as a
# regression case (commit it with the fix); new inputs that only widen coverage stay in build-fuzz/corpus/.
#   scripts/fuzz.sh                 every harness, 60 s each
#   FUZZ_SECONDS=3600 scripts/fuzz.sh png
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
readers=("$@")
if [ ${#readers[@]} -eq 0 ]; then
  readers=(jpeg bitmap png picture_file palette)
fi

scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S tests/fuzz -B build-fuzz -G Ninja >/dev/null
cmake --build build-fuzz

export ASAN_OPTIONS="detect_leaks=1:quarantine_size_mb=32"
export UBSAN_OPTIONS="print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp"
export QT_QPA_PLATFORM=offscreen

passed=0
failed=0
for reader in "${readers[@]}"; do
  seeds="tests/fuzz/corpus/$reader"
  found="build-fuzz/corpus/$reader"
  artifacts="build-fuzz/artifacts/$reader"
  log="build-fuzz/$reader.log"
  mkdir -p "$found" "$artifacts"
  rm -f "$artifacts"/*
  echo "Fuzzing $reader for ${seconds} s"
  if "build-fuzz/${reader}_fuzzer" -max_total_time="$seconds" -rss_limit_mb=600 -timeout=10 \
    -max_len=16384 -artifact_prefix="$artifacts/" "$found" "$seeds" >"$log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    tail -n 40 "$log"
    for artifact in "$artifacts"/*; do
      [ -e "$artifact" ] || continue
      cp "$artifact" "$seeds/regression-$(basename "$artifact")"
      echo "FAILED: $reader: $artifact, kept as $seeds/regression-$(basename "$artifact")"
    done
  fi
done
echo "fuzzing: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
