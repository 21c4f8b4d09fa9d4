#!/usr/bin/env bash
# Installs what the Windows build and its tests need: MinGW-w64 (the POSIX-threads
# variant, for std::thread), wine to run the result, and Debian's source packages
# of the libraries (a deb-src entry for the release this machine runs).
#   scripts/windows/bootstrap.sh [--compiler-only]   (MinGW alone, for the compile check)
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  cmake ninja-build
)
if [ "${1:-}" = "--compiler-only" ]; then
  missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && exit 0
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q >/dev/null
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
  exit 0
fi
packages+=(
  mingw-w64-tools libz-mingw-w64-dev
  wine wine64 dpkg-dev autoconf automake libtool
  build-essential pkg-config python3 libboost-dev locales
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

sources=/etc/apt/sources.list.d/morvel-deb-src.sources
need_update=0
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  $SUDO tee "$sources" >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ $need_update -eq 1 ]; then
  $SUDO apt-get update -q >/dev/null
fi
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi
