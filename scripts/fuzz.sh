#!/usr/bin/env bash
# Fuzzes one reader (or all) with libFuzzer for a number of seconds, under AddressSanitizer and
# UndefinedBehaviorSanitizer:
#     bash scripts/fuzz.sh probe|subtitle|ini|strings|all SECONDS
# Needs clang and libclang-rt-14-dev (in deps/debian-packages.txt). A crash or hang leaves its
# input in build/fuzz/artifacts/; put it under fuzz/regressions/<target>/ with the fix.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
target="${1:?usage: fuzz.sh probe|subtitle|ini|strings|all SECONDS}"
seconds="${2:?usage: fuzz.sh TARGET SECONDS}"
targets=(probe subtitle ini strings)
[ "$target" = all ] || targets=("$target")
build="$here/build/fuzz"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DKESTREL_SANITIZE=ON -DKESTREL_FUZZ=ON -DKESTREL_TESTS=OFF \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$build" --target "${targets[@]/#/fuzz_}"
[ -d "$build/seeds/probe" ] || bash "$here/fuzz/make_seeds.sh" "$build/seeds"
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$build/artifacts"
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t"
  echo "fuzzing $t for ${seconds}s"
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$t-" "$build/corpus/$t" "$build/seeds/$t"
done
