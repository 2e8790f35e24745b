#!/usr/bin/env bash
# Installs what is missing, builds the program, starts the register simulator on a
# pseudo-terminal and starts Kalvo with COM1 pointing at it. Closing Kalvo stops the
# simulator.
#
# Usage: scripts/run.sh [arguments for kalvo...]
# Environment: KALVO_BUILD_DIR  build folder (default: build)
#              KALVO_REGSIM_ARGS extra options for kalvo-regsim, e.g. "--state $HOME/register.state"
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  echo "Kalvo is a desktop program and needs a display (DISPLAY or WAYLAND_DISPLAY is not set)." >&2
  echo "On a machine without one, start a virtual display first, for example:" >&2
  echo "  Xvfb :99 -screen 0 1280x1024x24 -nolisten tcp & DISPLAY=:99 scripts/run.sh" >&2
  exit 1
fi

scripts/install-deps.sh
dir=${KALVO_BUILD_DIR:-build}
cmake -S . -B "$dir" -G Ninja >/dev/null
# the program and what it loads or starts; the tests are built by scripts/test.sh
cmake --build "$dir" --target kalvo kalvo-regsim runek
bin=$(cd "$dir/bin" && pwd)

run=$(mktemp -d "${XDG_RUNTIME_DIR:-/tmp}/kalvo-run.XXXXXX")
link=$run/com1
sim=
cleanup() {
  if [ -n "$sim" ]; then
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
  fi
  rm -rf "$run"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# shellcheck disable=SC2086  # KALVO_REGSIM_ARGS is a list of options
"$bin/kalvo-regsim" --link "$link" ${KALVO_REGSIM_ARGS:-} &
sim=$!
for _ in $(seq 50); do
  [ -e "$link" ] && break
  kill -0 "$sim" 2>/dev/null || break
  sleep 0.1
done
if [ ! -e "$link" ]; then
  echo "The register simulator did not start (no line at $link)." >&2
  exit 1
fi
echo "Register simulator on $link (COM1)."

status=0
ZIB_COM1="$link" "$bin/kalvo" "$@" || status=$?
exit "$status"
