#!/usr/bin/env bash
# Builds the benchmarks and runs them: scripts/bench.sh [NAME...] (no name = all).
# "desks" is the several-desks stress run: DESK_STRESS_DESKS programs (4) lend and return at
# random for DESK_STRESS_SECONDS (60), then every counter is checked against the loans.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench -j"$(nproc)" --target library-bench
QT_QPA_PLATFORM=offscreen LANG=zh_CN.UTF-8 build-bench/bench/library-bench "$@"
