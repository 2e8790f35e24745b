#!/usr/bin/env bash
# Installs what is missing, builds, starts the register simulator on a pseudo-terminal
# and starts Kalvo with COM1 pointing at it.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  echo "Kalvo is a desktop program and needs a display (DISPLAY or WAYLAND_DISPLAY is not set)." >&2
  exit 1
fi
scripts/install-deps.sh
scripts/build.sh build
bin=$PWD/build/bin
link=${XDG_RUNTIME_DIR:-/tmp}/kalvo-com1
"$bin/kalvo-regsim" --link "$link" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
ZIB_COM1="$link" "$bin/kalvo"
