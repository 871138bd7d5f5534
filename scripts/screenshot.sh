#!/usr/bin/env bash
# Makes docs/screenshot.png: gyrel watching the simulated encoder, grabbed
# offscreen after two seconds on line. Builds first when needed.
# Usage: scripts/screenshot.sh [OUTPUT.png] [MODEL]
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
mkdir -p "$(dirname "$out")"
GYREL_HOME="$scratch/home" GYREL_SETTINGS="$scratch/gyrel.ini" QT_QPA_PLATFORM=offscreen \
  build/gyrel --simulate ${model:+"$model"} --screenshot "$out"
echo "wrote $out"
