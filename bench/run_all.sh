#!/bin/sh
# Builds the benches in Release (no sanitizers) and prints every job line, processor times on
# stderr. Arguments go to every bench, e.g. `bench/run_all.sh --repeat 3`.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/rel"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTREL_SANITIZE=OFF >/dev/null
cmake --build "$build" --target bench_seek bench_transcode bench_reverse bench_split bench_gif bench_beauty bench_preview >/dev/null
for bench in bench_transcode bench_split bench_reverse bench_gif bench_beauty bench_seek bench_preview; do
    "$build/bench/$bench" "$@"
done
