#!/usr/bin/env bash
# Configures and builds Pavona into build/ (build/pavona, build/pavona-cli).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build "$@"
