#!/usr/bin/env bash
# Fails, listing the files, when a C++ file under version control is not
# formatted as clang-format (Debian's clang-format 14, the repository's
# .clang-format) would format it. Fix them with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format=$(command -v clang-format-14 || command -v clang-format)
unformatted=()
while IFS= read -r -d '' file; do
  [ -f "$file" ] || continue  # deleted in the working tree
  if ! "$clang_format" --dry-run --Werror "$file" 2>/dev/null; then
    unformatted+=("$file")
  fi
done < <(git ls-files -z -- '*.cpp' '*.h')
if [ ${#unformatted[@]} -ne 0 ]; then
  echo "Not formatted with clang-format (run clang-format -i on them):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
