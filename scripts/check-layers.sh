#!/usr/bin/env bash
# Fails when a source file includes a header of a layer it may not use: the
# libraries' include path is the whole tree, so without this check only the
# linker would notice a header included from a higher layer (and not at all
# for a header-only one). Also fails on a Qt include outside the GUI.
#   scripts/check-layers.sh          check
#   scripts/check-layers.sh --graph  print which folder includes which
set -euo pipefail
cd "$(dirname "$0")/.."

# Each folder and the folders it may include from (besides itself). Keep in
# step with the README's architecture table and the CMake libraries.
declare -A allowed=(
  [colour]=""
  [dither]="colour"
  [c64]="colour"
  [select]="colour c64"
  [plan]="colour dither c64 select"
  [framing]="colour"
  [refine]="plan colour dither c64 select"
  [core]="plan refine framing colour dither c64 select"
  [io]="core plan refine framing colour dither c64 select"
  [cli]="io core plan refine framing colour dither c64 select"
  [gui]="io core plan refine framing colour dither c64 select"
  [bench]="support gui io core plan refine framing colour dither c64 select"  # support: tests/support
  [docs]="gui io core plan refine framing colour dither c64 select"
)
qt_allowed=" gui docs bench "  # bench: the window's own benchmark

# "folder included-folder" for every project include of every source file.
includes() {
  git ls-files -- '*.cpp' '*.h' | grep -v '^tests/' | while IFS= read -r file; do
    local folder=${file%%/*}
    sed -n 's/^#include "\([a-z0-9_]*\)\/.*"/\1/p' "$file" | sed "s|^|$folder $file |"
  done
}

if [ "${1:-}" = "--graph" ]; then
  includes | awk '$1 != $3 {print $1 " -> " $3}' | sort -u
  exit 0
fi

status=0
while read -r folder file included; do
  [ "$folder" = "$included" ] && continue
  if [ -z "${allowed[$folder]+set}" ]; then
    echo "$file: folder $folder/ has no layer in scripts/check-layers.sh" >&2
    status=1
  elif [[ " ${allowed[$folder]} " != *" $included "* ]]; then
    echo "$file includes a header of $included/, which $folder/ may not use" >&2
    status=1
  fi
done < <(includes)

while IFS= read -r file; do
  folder=${file%%/*}
  if [[ "$qt_allowed" != *" $folder "* ]] && grep -qE '^#include <Q[A-Za-z]+>' "$file"; then
    echo "$file includes Qt, which only gui/ may" >&2
    status=1
  fi
done < <(git ls-files -- '*.cpp' '*.h' | grep -v '^tests/')

if [ $status -eq 0 ]; then
  echo "layers: no include runs back up"
fi
exit $status
