#!/usr/bin/env bash
# Installs what is missing, builds, and starts the library desk.
# The library's data lives outside the build folder (default ~/.local/share/library-desk),
# so rebuilding never touches it. Arguments are passed on to the program,
# e.g. scripts/run.sh --home /srv/library
set -euo pipefail
cd "$(dirname "$0")/.."

# Said before the build, which takes minutes on a fresh clone.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
No display found: the library desk is a desktop program and needs a graphical session.
Run it from a desktop session, or start it inside a virtual display:
    xvfb-run -a scripts/run.sh
(xvfb-run comes with the Debian package xvfb, which scripts/install-deps.sh installs.)
MSG
  exit 1
fi

scripts/build.sh

args=("$@")
has_home=0
for a in "${args[@]}"; do
  case "$a" in --home|--home=*) has_home=1 ;; esac
done
if [ "$has_home" -eq 0 ]; then
  data_home="${XDG_DATA_HOME:-$HOME/.local/share}/library-desk"
  mkdir -p -m 700 "$data_home"
  args=(--home "$data_home" "${args[@]}")
fi

export LANG=zh_CN.UTF-8
exec build/library-desk "${args[@]}"
