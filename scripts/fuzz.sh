#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each for a bounded time. Fails on a crash, a leak, a timeout or running out of memory;
# the failing input is copied to fuzz/regressions/<target>/, where CTest replays it for good.
# The mutations follow a fixed seed, so a run can be repeated; KV_FUZZ_SEED picks another
# (0 lets libFuzzer choose one from the clock) for a longer search by hand.
# Usage: scripts/fuzz.sh [seconds per target]
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-fuzz"
seconds="${1:-45}"
seed="${KV_FUZZ_SEED:-1}"
targets=(pe_version release_notes settings archive)

"$here/scripts/setup.sh"
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_FUZZ=ON -DKV_BUILD_TESTS=OFF \
    -DKV_PAYLOAD_MODULE_BYTES=65536 > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j2 --target kv_fuzz_seeds $(printf 'fuzz_%s ' "${targets[@]}")

rm -rf "$build/corpus" "$build/artifacts"
"$build/fuzz/kv_fuzz_seeds" "$build/corpus"

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$here/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

failed=0
summary=()
for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    mkdir -p "$corpus" "$build/artifacts/$t"
    cp "$here/fuzz/corpus/$t/"* "$here/fuzz/regressions/$t/"* "$corpus/" 2> /dev/null || true
    rm -f "$corpus/.keep"

    log="$build/fuzz_$t.log"
    rc=0
    (cd "$build" && "$build/fuzz/fuzz_$t" "$corpus" -max_total_time="$seconds" -seed="$seed" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$t/") > "$log" 2>&1 || rc=$?

    runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')"
    cov="$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || echo '?')"
    features="$(grep -o 'ft: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || echo '?')"
    summary+=("$(printf '%-14s %10s executions  %6s edges covered  %6s features  rc %s' "$t" "$runs" "$cov" "$features" "$rc")")

    if [ "$rc" -ne 0 ]; then
        failed=1
        tail -40 "$log"
        for a in "$build/artifacts/$t/"*; do
            [ -e "$a" ] || continue
            cp "$a" "$here/fuzz/regressions/$t/"
            echo "kept failing input: fuzz/regressions/$t/$(basename "$a")"
            # A clean clone's copy is lost with the machine: the log carries the bytes too.
            echo "its bytes, base64: $(head -c 16384 "$a" | base64 -w0)"
        done
    fi
done

printf '%s\n' "${summary[@]}"
exit "$failed"
