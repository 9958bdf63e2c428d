#!/usr/bin/env bash
# Cross-builds the build without Qt for 64-bit ARM (Debian's cross compiler
# and the arm64 library packages, installed through multiarch), and runs its
# conversion, picture file and command-line tests under qemu-user, the golden
# output files among them: the colour arithmetic must give the same bytes on
# ARM as on x86-64. Builds into build-arm64/. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

host_packages=(g++-aarch64-linux-gnu qemu-user cmake ninja-build pkg-config 64tass libcli11-dev)
arm64_packages=(libjpeg62-turbo-dev libpng-dev libexif-dev libgtest-dev libgmock-dev libstb-dev)

missing=()
for package in "${host_packages[@]}" "${arm64_packages[@]/%/:arm64}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing missing packages: ${missing[*]}" >&2
  if ! dpkg --print-foreign-architectures | grep -qx arm64; then
    $sudo dpkg --add-architecture arm64
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    -o DPkg::Lock::Timeout=600 "${missing[@]}"
fi

if [ -f scripts/ccache-env.sh ]; then
  source scripts/ccache-env.sh
fi

cmake -S . -B build-arm64 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAVONA_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/aarch64-linux-gnu.cmake" -DPAVONA_BUILD_GUI=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON -DPAVONA_BUILD_BENCHMARKS=OFF -DPAVONA_STATIC_LINK=ON >/dev/null
# ARM64_JOBS: parallel compile jobs (ninja's default when unset).
cmake --build build-arm64 ${ARM64_JOBS:+-j "$ARM64_JOBS"}
# Without Qt the build has the colour, dither, c64, select, plan, framing,
# refine, core, io, cli and cli_process test programs, and no others.
# GoldenFiles compares every output kind with tests/data/golden byte for
# byte: make sure it is among them.
if ! ctest --test-dir build-arm64 -N -R '^GoldenFiles\.' | grep -q 'Total Tests: [1-9]'; then
  echo "test-arm64: the golden file test was not found in build-arm64" >&2
  exit 1
fi
# The command line run as a child process cannot be started from inside
# qemu-user (the child is an ARM program the host kernel cannot run), and an
# address-space limit means nothing there.
child_process='^(CliFailure|InputSafety)\.'
ctest --test-dir build-arm64 --output-on-failure -j "${ARM64_JOBS:-2}" --timeout 600 -E "$child_process"
