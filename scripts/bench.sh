#!/usr/bin/env bash
# Builds in Release and prints the performance table: our install against unzip and against
# cp -r of the unpacked bundles (the cost of writing the bytes at all), at two module sizes,
# uninstall against rm -rf, the status read at three module sizes, paint costs, peak memory of an
# install pass, the start-up of the real window and a whole unattended install process. Exits non-zero when a target is missed.
# Usage: scripts/bench.sh [repetitions]
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-bench"
repetitions="${1:-7}"

"$here/scripts/setup.sh"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_TESTS=OFF -DKV_BUILD_BENCH=ON > /dev/null
cmake --build "$build" -j2 --target kv_bench kv_install_memory kv_installer kv_payload > /dev/null 2>&1 \
    || cmake --build "$build" -j2 --target kv_bench kv_install_memory kv_installer kv_payload

# The same product with three 100 MB modules, to show the ratios hold as it grows; made once
# and again only when the generator changes.
large="$build/payload-100"
if [ ! -f "$large/aax.zip" ] || [ "$build/tools/kv_payload" -nt "$large/aax.zip" ]; then
    echo "== archives with 100 MB modules" >&2
    "$build/tools/kv_payload" "$large" --module-bytes $((100 * 1024 * 1024)) > /dev/null
fi
export KV_BENCH_LARGE_ARCHIVE_DIR="$large"

out="$build/results"
mkdir -p "$out"

echo "== benchmarks ($repetitions repetitions, interleaved)" >&2
"$build/bench/kv_bench" --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
    --benchmark_format=json --benchmark_out="$out/bench.json" --benchmark_out_format=json > /dev/null

echo "== peak memory" >&2
: > "$out/memory.txt"
for size in 17 100; do
    for _ in 1 2 3; do "$build/bench/kv_install_memory" "$size" >> "$out/memory.txt"; done
done

echo "== start-up under Xvfb" >&2
source "$here/scripts/virtual-display.sh"
KV_FORCE_XVFB=1 start_virtual_display
"$here/scripts/bench-startup.sh" "$build/kv_installer" 7 > "$out/startup.txt"

echo "== unattended install process" >&2
"$here/scripts/bench-silent.sh" "$build/kv_installer" "$build/payload" "$repetitions" > "$out/silent.txt"

python3 "$here/bench/report.py" "$out" "$(nproc)"
