#!/usr/bin/env bash
# Configures and builds the program and its tests in build/ (installs missing packages first).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
launcher=()
# A compiler cache, when installed, makes rebuilds in other checkouts quick.
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build "${launcher[@]}" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${@}" >/dev/null
cmake --build build -j"$(nproc)"
