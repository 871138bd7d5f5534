#!/usr/bin/env bash
# Cross-builds the logic, the simulator and the unit tests for 64-bit Windows with
# MinGW-w64 and runs them under Wine. Skipped, with a line saying so, when the
# cross compiler, Wine or the GoogleTest sources cannot be installed here.
# Usage: scripts/windows_test.sh [BUILD_DIR]   (default build-win)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
dir=${1:-build-win}

if ! scripts/deps.sh windows; then
  echo "Windows step skipped: MinGW-w64, Wine or the GoogleTest sources could not be installed"
  exit 0
fi
wine=$(command -v wine || command -v wine64 || ls /usr/lib/wine/wine64 2>/dev/null || true)
if [ -z "$wine" ]; then
  echo "Windows step skipped: no wine program found"
  exit 0
fi

scripts/build.sh "$dir" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" -DGYREL_BUILD_UI=OFF \
  -DGYREL_BUILD_TESTS=ON -DGYREL_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O0

# A Wine prefix of the build's own: its drive C: holds the working folder c:\varnel\gyrel.
export WINEPREFIX="$here/$dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || "$wine" wineboot --init >/dev/null 2>&1 || true
"$wine" "$dir/tests/gyrel_tests.exe" --gtest_brief=1 2>&1 | tr -d '\r' | tee "$dir/windows-tests.log" | grep -v '^$' | tail -25
grep -q '^\[  PASSED  \]' "$dir/windows-tests.log" && ! grep -q '^\[  FAILED  \]' "$dir/windows-tests.log"
