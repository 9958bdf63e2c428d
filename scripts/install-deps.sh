#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test Pavona.
# Safe to run again: only missing packages are installed, and apt is not
# touched at all when everything is already there.
set -euo pipefail

packages=(
  build-essential        # g++ and make
  cmake
  ninja-build
  pkg-config
  qt6-base-dev           # Qt 6 Widgets (the GUI only)
  libgl-dev              # needed by Qt 6's CMake package for QtGui
  libjpeg62-turbo-dev    # libjpeg-turbo, the JPEG decoder
  libpng-dev             # libpng, PNG reading and writing
  ccache                 # compiler cache, used by the build when installed
  clang-format-14        # the formatting check of scripts/test.sh
  libexif-dev            # reads the Exif orientation of photos
  libstb-dev             # stb_image_resize: scales photos into the frame
  libgtest-dev           # GoogleTest
  libgmock-dev
  libbenchmark-dev       # Google Benchmark
  libcli11-dev           # command-line option parsing
  64tass                 # 6502 assembler for the C64 viewer programs
  fonts-dejavu-core      # a font for the offscreen GUI tests
  clang                  # builds the fuzzers (scripts/fuzz.sh)
  libclang-rt-14-dev     # libFuzzer and the sanitizer runtimes for clang 14
  librsvg2-bin           # rsvg-convert renders the icon's PNG from its SVG
  dpkg-dev               # dpkg-shlibdeps: the Debian package's dependencies (CPack)
  desktop-file-utils     # desktop-file-validate, in scripts/check-package.sh
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

echo "Installing missing packages: ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
