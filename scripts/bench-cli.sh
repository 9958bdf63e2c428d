#!/usr/bin/env bash
# Whole-process timing of the command line, run by hand: for every mode, one
# C64 program from a 320 x 200 bitmap, and every output of that mode
# (--out-dir), against `--help` as the floor of starting the program at all.
# The commands take turns, one run each per round, so that a change of load
# on the machine falls on all of them alike; each row is the median of the
# rounds. Given several programs (an older build beside the new one), all of
# them take turns in the same rounds and each gets its columns, each against
# its own --help.
# Usage: [ROUNDS=21] scripts/bench-cli.sh [PAVONA_CLI...] (build/pavona-cli)
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- build/pavona-cli
rounds="${ROUNDS:-21}"
for cli in "$@"; do
  [ -x "$cli" ] || { echo "no $cli: build it first (scripts/build.sh --target pavona-cli)" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The coffee frame as a 24-bit bitmap, the kind of file a user converts.
python3 - tests/data/coffee_frame.ppm "$work/photo.bmp" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
width, height = 320, 200
pixels = data[len(b"P6\n320 200\n255\n"):]  # the frame files have this header
rows = []
for y in range(height - 1, -1, -1):  # bitmaps store the bottom row first
    row = pixels[y * width * 3:(y + 1) * width * 3]
    rows.append(b"".join(row[x:x + 3][::-1] for x in range(0, width * 3, 3)))
image = b"".join(rows)
file_header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 3937, 3937, 0, 0)
open(sys.argv[2], "wb").write(file_header + info + image)
EOF

modes=(hires hires-interlaced fli fli-interlace multicolour multicolour-fli multicolour-interlace)
names=("--help")
arguments=("--help")
for mode in "${modes[@]}"; do
  names+=("$mode .prg" "$mode every output")
  arguments+=("--quiet --mode $mode --prg $work/out-$mode.prg $work/photo.bmp")
  mkdir -p "$work/all-$mode"
  arguments+=("--quiet --mode $mode --out-dir $work/all-$mode $work/photo.bmp")
done

# Microseconds of one run of each program with each command: "program
# command time" a line, by bash's own clock (no process started to read it).
for ((round = 0; round < rounds; ++round)); do
  for i in "${!arguments[@]}"; do
    for ((p = 1; p <= $#; ++p)); do
      # Each run writes its files afresh.
      rm -f "$work"/out-*.prg "$work"/all-*/*
      start=${EPOCHREALTIME/[.,]/}
      ${!p} ${arguments[$i]} >/dev/null
      end=${EPOCHREALTIME/[.,]/}
      echo "$p $i $((end - start))"
    done
  done
done >"$work/times"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
time_of() { awk -v p="$1" -v i="$2" '$1 == p && $2 == i { print $3 }' "$work/times" | median; }
echo "$(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), median of $rounds rounds"
for ((p = 1; p <= $#; ++p)); do
  echo "[$p] ${!p}"
done
printf '%-34s' "command"
for ((p = 1; p <= $#; ++p)); do
  printf ' %9s %8s' "[$p] ms" "x --help"
done
echo
for i in "${!arguments[@]}"; do
  printf '%-34s' "${names[$i]}"
  for ((p = 1; p <= $#; ++p)); do
    awk -v us="$(time_of "$p" "$i")" -v floor="$(time_of "$p" 0)" \
      'BEGIN { printf " %9.1f %8.2f", us / 1e3, us / floor }'
  done
  echo
done
