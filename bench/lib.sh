# shellcheck shell=bash
# Sourced by the bench scripts: the build they measure, a scratch folder, and
# the simulators they run, all stopped and removed on exit.
#   bench_build DIR EXE...   sets $build to DIR made absolute, or stops when
#                            one of the programs is not built there
#   sim_start LOG ARGS...    radio-sim ARGS, its log in LOG, once it is ready
tmp=$(mktemp -d)
sims=()
trap 'for p in "${sims[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done; rm -rf "$tmp"' EXIT

bench_build() {
    build=$(realpath "$1")
    shift
    local exe
    for exe in "$@"; do
        [ -e "$build/bin/$exe" ] || { echo "build $* in $build first" >&2; exit 1; }
    done
}

sim_start() {
    local log=$1
    shift
    "$build/bin/radio-sim" "$@" >"$log" 2>&1 &
    sims+=($!)
    for _ in $(seq 100); do grep -qs ' ready ' "$log" && return; sleep 0.1; done
    echo "radio-sim did not get ready: $*" >&2
    exit 1
}
