#!/usr/bin/env bash
# Configures and builds Pavona into build/ (build/pavona, build/pavona-cli).
# Arguments go to the build step, e.g. --target pavona-cli.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
source scripts/ccache-env.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build "$@"
