#!/usr/bin/env bash
# Builds the benchmarks and runs them: scripts/bench.sh [NAME...] (no name = all).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench -j"$(nproc)" --target library-bench library-opac
QT_QPA_PLATFORM=offscreen LANG=zh_CN.UTF-8 build-bench/bench/library-bench "$@"
