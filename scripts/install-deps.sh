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

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Simplified Chinese locale so Qt picks Chinese glyph shapes and dialog texts.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  if [ -f /etc/locale.gen ]; then
    "${sudo_cmd[@]}" sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo_cmd[@]}" locale-gen >/dev/null
  fi
fi
