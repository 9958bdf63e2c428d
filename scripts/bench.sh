#!/usr/bin/env bash
# Builds the benchmark programs and runs them (all, or those whose names
# match the first argument), reporting the median of 10 repetitions. The
# command line as a whole process: scripts/bench-cli.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
pattern="${1:-}"
for program in build/bench/*_bench; do
  [ -x "$program" ] || continue
  case "$(basename "$program")" in
    *"$pattern"*) ;;
    *) continue ;;
  esac
  "$program" --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
    --benchmark_display_aggregates_only=true
done
