#!/usr/bin/env bash
# Makes the pictures of the README: docs/screenshot.png (the main window watching
# the simulated encoder) and the gallery docs/gallery/*.png (main window, editor
# with a program and its graph, origin dialog, a download in progress and its
# outcome). Always regenerated from the program, never edited by hand.
# Usage: scripts/screenshot.sh [OUTPUT.png] [MODEL]
#   GYREL_SCREENSHOT_WM=1  take the pictures under Xvfb with the openbox window
#                          manager (scripts/under-wm.sh) instead of offscreen.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
out=${1:-docs/screenshot.png}
model=${2:-}
gallery_model=${model:-KMT71}

if [ ! -x build/gyrel ]; then
  scripts/deps.sh run
fi
scripts/build.sh build -DGYREL_BUILD_TESTS=OFF -DGYREL_BUILD_BENCH=OFF >/dev/null

# A scratch working folder and settings file: the user's own stay untouched.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$(dirname "$out")" docs/gallery
run() {
  if [ "${GYREL_SCREENSHOT_WM:-0}" = 1 ]; then
    scripts/under-wm.sh "$@"
  else
    QT_QPA_PLATFORM=offscreen "$@"
  fi
}
GYREL_HOME="$scratch/home" GYREL_SETTINGS="$scratch/gyrel.ini" \
  run build/gyrel --simulate ${model:+"$model"} --screenshot "$out"
echo "wrote $out"
rm -rf "$scratch/home" "$scratch/gyrel.ini"
GYREL_HOME="$scratch/home" GYREL_SETTINGS="$scratch/gyrel.ini" \
  run build/gyrel --simulate "$gallery_model" --gallery docs/gallery
echo "wrote docs/gallery/*.png"
