#!/usr/bin/env bash
# Installs what is missing, builds, and starts gyrel: against the simulated
# encoder, or against a real one when a port is named (scripts/run.sh /dev/ttyUSB0).
# Without a graphical display it runs the terminal monitor instead.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
port=${1:-}

scripts/deps.sh run
scripts/build.sh build -DGYREL_BUILD_TESTS=OFF -DGYREL_BUILD_BENCH=OFF

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  if [ -n "$port" ]; then exec build/gyrel --port "$port"; fi
  exec build/gyrel --simulate
fi

echo "No graphical display here: showing the terminal monitor (gyrel-cli status) for a while instead."
model=NORM
if [ -n "$port" ]; then
  exec build/gyrel-cli status --model "$model" --port "$port" --count 300
fi
fifo=$(mktemp -u)
mkfifo "$fifo"
build/gyrel-cli simulate --model "$model" >"$fifo" &
sim=$!
trap 'kill $sim 2>/dev/null; rm -f "$fifo"' EXIT
exec 3<"$fifo"
read -r pty <&3
echo "Simulated encoder on $pty"
build/gyrel-cli status --model "$model" --port "$pty" --count 300
