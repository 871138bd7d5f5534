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
# The gallery: a KRT71 (it has the graph) and a KMT71 (it has presets and origins).
gallery() {  # MODEL FOLDER
  rm -rf "$scratch/home" "$scratch/gyrel.ini"
  GYREL_HOME="$scratch/home" GYREL_SETTINGS="$scratch/gyrel.ini" \
    run build/gyrel --simulate "$1" --gallery "$2"
}
gallery NORM "$scratch/norm"
gallery KMT71 "$scratch/kmt71"
cp "$scratch/norm/main.png" "$scratch/norm/editor.png" "$scratch/norm/graph.png" docs/gallery/
cp "$scratch/kmt71/origin.png" "$scratch/kmt71/download.png" "$scratch/kmt71/download-end.png" docs/gallery/
echo "wrote docs/gallery/*.png"
