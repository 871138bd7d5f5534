#!/usr/bin/env bash
# Configures and builds one build folder incrementally; the options given are
# applied each time, so the same folder serves the run and the test commands.
# Usage: scripts/build.sh BUILD_DIR [cmake options...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
cmake -S "$here" -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
