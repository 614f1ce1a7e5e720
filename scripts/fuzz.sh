#!/usr/bin/env bash
# Fuzz the reply judge for a while.
# Usage: scripts/fuzz.sh [seconds, default 60] [build dir, default build-fuzz]
# Prints "fuzz_receive: N executions, C crashes" last; exits non-zero on a crash.
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${2:-$root/build-fuzz}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac

if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "fuzz.sh: seconds must be a positive whole number, got '$seconds'" >&2
    exit 2
fi
command -v clang++ >/dev/null || { echo "fuzz.sh: clang++ not found" >&2; exit 2; }

configure() { # source dir, build dir
    mkdir -p "$2"
    CC=clang CXX=clang++ cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DFUZZ=ON -DBUILD_TESTING=OFF >"$2/configure.log" 2>&1
}

# The whole tree, when it reaches the fuzz folder and configures; otherwise
# the fuzz folder on its own, which needs only the protocol library.
if ! configure "$root" "$build" \
    || ! cmake --build "$build" --target help | grep -q '^fuzz_receive:'; then
    build="$build/standalone"
    configure "$root/tests/fuzz" "$build" || { cat "$build/configure.log" >&2; exit 2; }
fi
cmake --build "$build" --target fuzz_receive -j2 >/dev/null

corpus="$build/fuzz-corpus"
artifacts="$build/fuzz-artifacts"
mkdir -p "$corpus" "$artifacts"
# Seeds: a read reply in one reception and an acknowledgement byte by byte.
printf '\x0c\xf0\xaa\xa0\x86\x01\x00\x3f\x42\x0f\x00\xa3\x0d' >"$corpus/seed-read-reply"
printf '\x01\xf0\x01\xee\x01\x0d' >"$corpus/seed-write-ack"

log="$build/fuzz.log"
status=0
"$build/bin/fuzz_receive" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1 || status=$?

executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
crashes=0
if [ "$status" -ne 0 ]; then
    crashes=1
    tail -n 40 "$log" >&2
    echo "artifacts: $artifacts" >&2
fi
echo "fuzz_receive: ${executions:-0} executions, $crashes crashes"
exit "$status"
