#!/usr/bin/env bash
# Checks the Debian package: lintian, the desktop entry and AppStream data,
# the files at their places, and the unpacked programs.
#   tests/package/check-package.sh [radio-setup_VERSION_ARCH.deb]
# Without an argument it builds the package with scripts/package first.
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "check-package: $*" >&2; exit 1; }

version=$(<"$src/VERSION")
name=radio-setup_${version}_$(dpkg --print-architecture).deb
deb=${1:-}
[[ -n $deb ]] || { "$src/scripts/package"; deb=$src/$name; }
[[ $(basename "$deb") == "$name" ]] || fail "$deb is not named $name"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "package version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6serialport6 fonts-noto-cjk xdg-utils; do
    [[ $depends == *"$d"* ]] || fail "Depends lacks $d: $depends"
done

lintian --fail-on error "$deb" || fail "lintian reports errors"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
id=io.github.ostrevi.radio_setup
files=(usr/bin/radio-setup usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/radio-setup.svg usr/share/man/man1/radio-setup.1.gz
    usr/share/doc/radio-setup/copyright usr/bin/radioctl usr/share/man/man1/radioctl.1.gz)
for f in "${files[@]}"; do [[ -e $root/$f ]] || fail "$f is missing"; done
for size in 16 22 24 32 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x$size/apps/radio-setup.png
    [[ $(file -b "$png" 2>&1) == *"PNG image data, $size x $size,"* ]] || fail "no $size px icon"
done
if dpkg-deb -c "$deb" | grep -E 'radio-sim|ptyshim|startup_probe'; then fail "a source-tree tool is packaged"; fi

desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop entry invalid"
appstreamcli validate --no-net --strict "$root/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo invalid"

# The window reads help.htm from the folder of the executable the kernel
# ran, after the link in bin is resolved: look where the running one is.
XDG_CONFIG_HOME=$root/config QT_QPA_PLATFORM=offscreen "$root/usr/bin/radio-setup" &
pid=$!
sleep 1
kill -0 "$pid" 2>/dev/null || fail "radio-setup did not stay up"
exe=$(readlink "/proc/$pid/exe")
kill "$pid"
wait "$pid" || true
cmp -s "$(dirname "$exe")/help.htm" "$src/assets/help.htm" || fail "no help.htm beside $exe"

out=$("$root/usr/bin/radioctl" --version)
[[ $out =~ (^|[[:space:]])${version//./\\.}($|[[:space:]]) ]] || fail "radioctl --version says: $out"
echo "check-package: $name passes"
