#!/usr/bin/env bash
# scripts/release refuses a tree that differs from its commit and names what
# differs. Its output folder cannot be made: one that went on would stop there.
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git clone -q --shared "$src" "$work/clone"
cp "$src/scripts/release" "$work/clone/scripts/release" # the release script under test, as it is
echo 9.9 > "$work/clone/VERSION"
touch "$work/clone/stray file"
touch "$work/file"
if out=$(RELEASE_DIST=$work/file/dist "$work/clone/scripts/release" 2>&1); then echo "released a changed tree"; exit 1; fi
[[ $out == *" M VERSION"* && $out == *"stray file"* ]] || { echo "did not name what differs: $out"; exit 1; }
