#!/usr/bin/env bash
# The Windows program under wine (ANSI code page 1251), case by case beside the
# Linux program on the same input; see scripts/windows/wine_suite.py.
#   scripts/windows/test.sh            # builds what is missing (the libraries take long once)
#   scripts/windows/test.sh --if-built # skips, saying so, while the libraries are not in the cache
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/windows/env.sh
if [ "${1:-}" = "--if-built" ] && [ ! -f "$MORVEL_WINDOWS_CACHE/stamps/libxml2.done" ]; then
  echo "SKIPPED: the Windows suite under wine; the Windows libraries are not in $MORVEL_WINDOWS_CACHE"
  echo "         (scripts/windows/build-deps.sh builds them once, about 45 minutes)"
  exit 0
fi
scripts/windows/bootstrap.sh
scripts/windows/build.sh build/windows

# The Linux side and the reference List server.
linux=build/release
cmake -S . -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$linux" -j "$(nproc 2>/dev/null || echo 2)" --target morvel morvel_data morvel-list-server morvel-gen

# Wine reads the ANSI code page from the locale: ru_RU gives windows-1251.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
export WINEPREFIX="$MORVEL_WINDOWS_CACHE/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  LANG=ru_RU.UTF-8 wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi

echo "=== Windows headless cases under wine ==="
python3 scripts/windows/wine_suite.py --windows-exe build/windows/bin/morvel.exe --linux-bin "$linux/bin" \
  --source "$PWD" --wine-prefix "$WINEPREFIX"
