#!/usr/bin/env bash
# Runs programs on a virtual X display managed by the openbox window manager, so
# that focus, stacking and modality behave as on an operator's desktop.
# Usage: scripts/under-wm.sh PROGRAM...   (each PROGRAM runs in turn; its arguments
# may follow it when only one is given: scripts/under-wm.sh prog -arg)
# Exits 77 (skipped) when Xvfb or openbox is missing: scripts/deps.sh test installs them.
set -uo pipefail

if [ "${1:-}" = --inner ]; then
  shift
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  trap 'kill "$wm" 2>/dev/null; wait "$wm" 2>/dev/null' EXIT
  # The first window must be mapped only once openbox manages the screen: it
  # announces that on the root window. A busy machine may take seconds.
  for _ in $(seq 150); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  export QT_QPA_PLATFORM=xcb
  if [ "$#" -gt 1 ] && [ "${2#-}" != "$2" ]; then
    "$@"
    exit $?
  fi
  rc=0
  for program in "$@"; do
    echo "== $(basename "$program") under openbox"
    "$program" || rc=1
  done
  exit $rc
fi

for tool in xvfb-run openbox; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIPPED: $tool is not installed (scripts/deps.sh test installs it)"
    exit 77
  fi
done
exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" --inner "$@"
