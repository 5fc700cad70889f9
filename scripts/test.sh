#!/usr/bin/env bash
# Installs what is missing, builds every target with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test on Qt's offscreen platform.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-deps.sh"
build="$here/build/asan"
# Line tables only (-g1): sanitizer reports keep their file:line, and the forty test programs,
# each linking every library statically, fit on a small disk (full debug info took tens of GB).
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTREL_SANITIZE=ON \
  -DCMAKE_C_FLAGS_DEBUG=-g1 -DCMAKE_CXX_FLAGS_DEBUG=-g1 >/dev/null
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
jobs="$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
