#!/usr/bin/env bash
# Remakes the golden files in this folder with the given command-line program:
#   tests/data/golden/make_golden.sh /path/to/pavona-cli
# Run it by hand only, when an output is meant to change (and say why in the
# commit); the build and the tests never run it. The settings of each kind
# must stay those of GoldenKinds in tests/cli/golden_files_test.cpp.
set -euo pipefail
cli=$1
cd "$(dirname "$0")"
make() {
  local name=$1
  shift
  "$cli" --quiet --test-picture "$@" --raw "$name.raw" --prg "$name.prg"
}
make hires --mode hires
make hires-interlaced --mode hires-interlaced --same-banks off
make hires-interlaced-same-banks --mode hires-interlaced --same-banks on
make fli --mode fli
make fli-interlace --mode fli-interlace --four-colours on --same-banks off
make fli-interlace-shared-bitmap --mode fli-interlace --four-colours off --same-banks off
make fli-interlace-same-banks --mode fli-interlace --four-colours on --same-banks on
