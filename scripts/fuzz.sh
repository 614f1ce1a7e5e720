#!/usr/bin/env bash
# Fuzz what reaches the tool from outside: replies on the line, profile
# files, the remembered settings, command lines, port names and line settings.
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target...]
#   targets: receive profile state arguments portsettings (default: all)
#   FUZZ_BUILD_DIR: the clang build, default build-fuzz
# Starts from the seeds in tests/fuzz/seeds/<target> and what earlier runs
# found. Prints "fuzz_<target>: N executions, C crashes" per target; exits
# non-zero when one crashed, hung or broke a check.
set -euo pipefail

seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(receive profile state arguments portsettings)
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac

if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "fuzz.sh: seconds must be a positive whole number, got '$seconds'" >&2
    exit 2
fi
for t in "${targets[@]}"; do
    [ -d "$root/tests/fuzz/seeds/$t" ] || { echo "fuzz.sh: no fuzz target '$t'" >&2; exit 2; }
done
command -v clang++ >/dev/null || { echo "fuzz.sh: clang++ not found" >&2; exit 2; }

mkdir -p "$build"
if ! CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFUZZ=ON -DBUILD_TESTING=OFF >"$build/configure.log" 2>&1; then
    cat "$build/configure.log" >&2
    exit 2
fi
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}" >"$build/build.log" 2>&1 \
    || { tail -n 40 "$build/build.log" >&2; exit 2; }

scratch="${TMPDIR:-/tmp}"
[ -w /dev/shm ] && scratch=/dev/shm
# TARGET: one target's run; its verdict is its exit status, its output in
# its log.
fuzz() {
    local t=$1 corpus="$build/corpus/$1" artifacts="$build/artifacts/$1" tmp result=0
    mkdir -p "$corpus" "$artifacts"
    # What a target writes goes to memory where there is some (its syncs then
    # cost nothing) and is gone afterwards. -timeout: an input this slow hangs.
    tmp="$(mktemp -d -p "$scratch" fuzz.XXXXXX)"
    TMPDIR="$tmp" "$build/bin/fuzz_$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" "$root/tests/fuzz/seeds/$t" >"$build/fuzz_$t.log" 2>&1 || result=$?
    rm -rf "$tmp"
    return $result
}

# Each target on a core of its own, as many at once as there are cores.
declare -A pids
for t in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
    fuzz "$t" &
    pids[$t]=$!
done
status=0
for t in "${targets[@]}"; do
    crashes=0
    if ! wait "${pids[$t]}"; then
        crashes=1
        status=1
        tail -n 40 "$build/fuzz_$t.log" >&2
        echo "artifacts: $build/artifacts/$t" >&2
    fi
    executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/fuzz_$t.log" | tail -n 1)"
    echo "fuzz_$t: ${executions:-0} executions, $crashes crashes"
done
exit "$status"
