#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, run and test.
# Only packages that are missing are installed, so a second run is quick.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkgconf
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-multimedia-dev qt6-svg-dev
  qt6-translations-l10n qt6-qpa-plugins libqt6opengl6-dev
  libsqlite3-dev libxlsxwriter-dev libsodium-dev libyaz-dev yaz libzint-dev zbar-tools
  fonts-wqy-microhei fonts-arphic-uming
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  locales xvfb xauth poppler-utils sqlite3
  # the readers' web catalogue: its HTTP server (its CMake files need the WebSockets
  # ones), the browser test and the load test
  qt6-httpserver-dev qt6-websockets-dev chromium chromium-driver python3-selenium wrk curl
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# Runs a command as root: directly when we are root, else through sudo. The environment
# goes through `env`, since sudo drops the caller's variables. With neither, says what to
# run as root and stops.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    env DEBIAN_FRONTEND=noninteractive "$@"
  elif command -v sudo >/dev/null; then
    sudo env DEBIAN_FRONTEND=noninteractive "$@"
  else
    echo "Not root and no sudo: run this as root, then run this script again:" >&2
    echo "    $*" >&2
    exit 1
  fi
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
    echo "Not root and no sudo: run this as root, then run this script again:" >&2
    echo "    apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Simplified Chinese locale so Qt picks Chinese glyph shapes and dialog texts.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  if [ -f /etc/locale.gen ]; then
    as_root sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  fi
fi
