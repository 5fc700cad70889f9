#!/usr/bin/env bash
# Installs what is missing, builds every target with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test on Qt's offscreen platform.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-deps.sh"
build="$here/build/asan"
# Shared folder libraries and line tables only (-g1): sanitizer reports keep their file:line,
# and the forty test programs share one copy of the code (1.3 GB in all; each carrying a static
# copy with full debug info took more disk than a build machine may have).
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTREL_SANITIZE=ON \
  -DKESTREL_SHARED_LIBRARIES=ON -DCMAKE_C_FLAGS_DEBUG=-g1 -DCMAKE_CXX_FLAGS_DEBUG=-g1 >/dev/null
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
jobs="$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
