#!/usr/bin/env bash
# Builds the Debian package from an existing build folder (default: build/)
# with CPack, and fails, saying what differs, when the package does not hold
# exactly the expected files, when dpkg-shlibdeps left it without dependencies,
# or when its desktop entry does not validate.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

expected=(
  ./usr/bin/pavona
  ./usr/bin/pavona-cli
  ./usr/share/applications/pavona.desktop
  ./usr/share/icons/hicolor/256x256/apps/pavona.png
  ./usr/share/icons/hicolor/scalable/apps/pavona.svg
  ./usr/share/doc/pavona/copyright
  ./usr/share/man/man1/pavona-cli.1.gz
  ./usr/share/man/man1/pavona.1.gz
)

fail() {
  echo "check-package: $*" >&2
  exit 1
}

rm -f "$build"/pavona_*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || fail "cpack failed, see $build/cpack.log"
packages=("$build"/pavona_*.deb)
[ -f "${packages[0]}" ] || fail "cpack made no pavona_*.deb in $build"
package=${packages[0]}

# Regular files only: the folders follow from them.
actual=$(dpkg-deb -c "$package" | awk '$1 ~ /^-/ { print $6 }' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [ "$actual" != "$wanted" ]; then
  echo "check-package: $package does not hold the expected files (< expected, > in the package):" >&2
  diff <(echo "$wanted") <(echo "$actual") | grep '^[<>]' >&2 || true
  exit 1
fi

depends=$(dpkg-deb -f "$package" Depends)
for library in libc6 libqt6widgets6 libpng16-16 libjpeg62-turbo libexif12; do
  [[ "$depends" == *"$library"* ]] ||
    fail "$package does not depend on $library (dpkg-shlibdeps found: ${depends:-nothing})"
done

maintainer=$(dpkg-deb -f "$package" Maintainer)
[[ "$maintainer" == *"Pavona Hi-FLI Convertor"* && "$maintainer" != *example* ]] ||
  fail "$package names the maintainer \"$maintainer\", not the project"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate packaging/pavona.desktop || fail "packaging/pavona.desktop is not valid"
fi
echo "check-package: $package holds the ${#expected[@]} expected files"
