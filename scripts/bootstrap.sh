#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the benchmarks and the demo need.
# chromium renders protocols for the browser test and scripts/render-protocol.sh.
# xvfb, xauth and a font with Cyrillic letters let scripts/screenshots.sh show the windows.
# qt6-translations-l10n gives Qt's own dialogs and buttons their Russian texts.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libxml2-dev libxml2-utils
  libcurl4-openssl-dev curl
  libarchive-dev zlib1g-dev
  libpcre2-dev
  libicu-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-translations-l10n
  libboost-stacktrace-dev libboost-dev
  googletest libgtest-dev libgmock-dev
  libcpp-httplib-dev
  clang libclang-rt-14-dev
  zip unzip
  chromium
  xvfb xauth fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
