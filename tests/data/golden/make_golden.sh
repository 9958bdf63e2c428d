#!/usr/bin/env bash
# Writes the golden files of kinds.txt in this folder with the given
# command-line program:
#   tests/data/golden/make_golden.sh /path/to/pavona-cli [NAME...]
# With names, only those kinds are written. Run it by hand only, when an
# output is meant to change (and say why in the commit); the build and the
# tests never run it.
set -euo pipefail
cli=$(realpath "$1")
shift
cd "$(dirname "$0")"
while IFS='|' read -r name extensions settings; do
  name=$(echo "$name" | xargs)
  case "$name" in '' | '#'*) continue ;; esac
  if [ $# -gt 0 ] && [[ ! " $* " =~ " $name " ]]; then
    continue
  fi
  outputs=()
  for extension in $extensions; do
    outputs+=(--save "$name.$extension")
  done
  # shellcheck disable=SC2086 # the settings are words
  "$cli" --quiet --test-picture $settings "${outputs[@]}"
done <kinds.txt
