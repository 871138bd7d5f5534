#!/usr/bin/env bash
# Measures the live monitor against the pseudo-terminal simulator: CPU used by
# `gyrel-cli status` while it polls for about 20 s, and polls per second against
# what the first checkpoint of the reply grid (35 ms after each query) allows.
# Usage: bench/status_poll.sh [BUILD_DIR] [MODEL]
set -euo pipefail
build=${1:-build}
model=${2:-NORM}
cli=$build/gyrel-cli
polls=${POLLS:-570}   # about 20 s at one reply per 35 ms

out=$(mktemp -d)
trap 'kill $sim 2>/dev/null || true; rm -rf "$out"' EXIT
"$cli" simulate --model "$model" >"$out/sim" &
sim=$!
for _ in $(seq 50); do [ -s "$out/sim" ] && break; sleep 0.1; done
pty=$(head -1 "$out/sim")

/usr/bin/time -f "%U %S %e" -o "$out/time" "$cli" status --model "$model" --port "$pty" --count "$polls" >"$out/lines"
read -r user sys wall <"$out/time"
valid=$(grep -vc -- '- - -' "$out/lines" || true)
awk -v u="$user" -v s="$sys" -v w="$wall" -v n="$polls" -v v="$valid" 'BEGIN {
  rate = n / w; ceiling = 1000 / 35;
  printf "polls %d (valid %d) in %.2f s: %.1f polls/s, %.1f%% of the %.1f/s the 35-ms checkpoint allows\n", n, v, w, rate, 100 * rate / ceiling, ceiling;
  printf "CPU %.2f s user + %.2f s system = %.2f%% of one core\n", u, s, 100 * (u + s) / w;
}'
