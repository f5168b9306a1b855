#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test under the offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh -DLIBRARYDESK_WERROR=ON
export QT_QPA_PLATFORM=offscreen
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
fi
ctest --test-dir build --output-on-failure "$@"
