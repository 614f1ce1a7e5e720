#!/usr/bin/env bash
# scripts/release refuses a tree that differs from its commit, names what
# differs, and writes nothing.
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git clone -q --shared "$src" "$work/clone"
cp "$src/scripts/release" "$work/clone/scripts/release" # the release script under test, as it is
echo 9.9 > "$work/clone/VERSION"
touch "$work/clone/stray file"
if out=$(RELEASE_DIST=$work/dist "$work/clone/scripts/release" 2>&1); then echo "released a changed tree"; exit 1; fi
[[ $out == *" M VERSION"* && $out == *"stray file"* ]] || { echo "did not name what differs: $out"; exit 1; }
[[ ! -e $work/dist ]] || { echo "wrote $work/dist"; exit 1; }
