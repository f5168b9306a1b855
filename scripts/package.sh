#!/usr/bin/env bash
# Builds the Debian package dist/library-desk_<version>_<arch>.deb from a clean clone of the
# committed sources (HEAD): what is not committed is not packaged. The clone and its build
# live in build-package/ (build/ is not touched), so a second run reuses the compiler cache.
# Install it with: apt install ./dist/library-desk_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh

if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "Note: uncommitted changes are not in the package; it is built from HEAD." >&2
fi
work="$root/build-package"
rm -rf "$work/source" "$work/cpack"
mkdir -p "$work"
git clone --quiet --no-hardlinks "$root" "$work/source"
git -C "$work/source" checkout --quiet --detach "$(git rev-parse HEAD)"

# Only the program is built; installing does not wait for the tests and benchmarks.
cmake -S "$work/source" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DLIBRARYDESK_WERROR=ON >/dev/null
cmake --build "$work/build" -j"$(nproc)" --target library-desk
(cd "$work/build" && cpack -G DEB -B "$work/cpack" >/dev/null)

mkdir -p dist
rm -f dist/library-desk_*.deb
cp "$work"/cpack/library-desk_*.deb dist/
ls dist/library-desk_*.deb
