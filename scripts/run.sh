#!/usr/bin/env bash
# Installs what is missing, builds Kestrel (release) and launches it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$here/build/release" --target kestrel
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<MSG
Kestrel is built (build/release/kestrel) but there is no display to show it on.
Run it under a virtual X server instead:
  xvfb-run -a -s "-screen 0 1600x1000x24" build/release/kestrel
or without any window system (nothing is shown):
  QT_QPA_PLATFORM=offscreen build/release/kestrel
MSG
  exit 0
fi
exec "$here/build/release/kestrel" "$@"
