#!/usr/bin/env bash
# Fails when an include points up a layer or into src/platform's private
# headers, or when code for one system stands anywhere in src/ outside the
# _unix and _win files of src/platform.
# Usage: tests/layers.sh <src folder>
set -uo pipefail
cd "${1:?usage: layers.sh <src folder>}" || exit 2

# Bottom up; a folder includes from its own and lower layers only.
declare -A layer=([protocol]=0 [words]=1 [platform]=2 [form]=3 [edit]=4 [detect]=4 [about]=4 [app]=5 [cli]=5)
system='Q_OS_|_WIN32|<windows\.h>|<termios\.h>|<unistd\.h>|\berrno\b|/dev/'
system+='|\bE(ACCES|PERM|NOENT|BUSY|NODEV|NXIO|IO|AGAIN|INTR|NOTTY|EXIST|ROFS|ISDIR|NOTDIR|LOOP|BADF|INVAL|NOSPC|NOMEM|WOULDBLOCK|MFILE|NFILE|NAMETOOLONG)\b'
bad=0
say() { echo "$*"; bad=1; }

for dir in */; do
    dir=${dir%/}
    [ -n "${layer[$dir]:-}" ] || { say "src/$dir: in no layer; add it to tests/layers.sh"; continue; }
    while IFS= read -r -d '' file; do
        # Comments may name a device as an example; code may not.
        code=$(sed 's#//.*##' "$file")
        while IFS=: read -r line to; do
            [ "$to" = "$dir" ] && continue
            [ -n "${layer[$to]:-}" ] && [ "${layer[$to]}" -lt "${layer[$dir]}" ] ||
                say "src/$file:$line: includes $to/, which is not below $dir/"
        done < <(grep -nE '^\s*#\s*include\s*"[^/"]+/' <<<"$code" | sed -E 's/^([0-9]+):.*"([^/"]+)\/.*/\1:\2/')
        [ "$dir" = platform ] || while IFS= read -r hit; do
            say "src/$file:$hit   <- a private header of src/platform, for its own files and tests"
        done < <(grep -nE '^\s*#\s*include\s*"platform/[^"]*_p\.h"' <<<"$code")
        case $file in platform/*_unix.* | platform/*_win.*) continue ;; esac
        while IFS= read -r hit; do
            say "src/$file:$hit   <- system-specific, belongs in a src/platform/*_unix or *_win file"
        done < <(grep -nE "$system" <<<"$code")
    done < <(find "$dir" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print0)
done
exit $bad
