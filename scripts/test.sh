#!/usr/bin/env bash
# Installs what is missing, builds every target with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test on Qt's offscreen platform.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-deps.sh"
build="$here/build/asan"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTREL_SANITIZE=ON >/dev/null
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
jobs="$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
