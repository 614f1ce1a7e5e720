#!/usr/bin/env bash
# Checks the Windows packages in a fresh wine prefix: the zip and the silent
# install hold exactly the program's files, the install over an older version
# none of its; the Start-menu shortcut and the Add/Remove Programs entry; the
# installed radioctl.exe, with no DLL path, prints its version and reads a
# simulated unit, and the window starts; the silent uninstall leaves nothing,
# and nothing lands in the home folder. With SIGNED_BY=ca.pem the installed
# programs and uninstaller must carry signatures that verify against it.
#   BUILD=build-test [SIGNED_BY=ca.pem] xvfb-run -a tests/package/check-windows-package.sh SETUP.exe ZIP
set -euo pipefail
. "$(dirname "$0")/../windows/wine.sh"
setup=$1 zip=$2
version=$(<"$src/VERSION")
files=$(xargs <<<"Qt6Core.dll Qt6Gui.dll Qt6SerialPort.dll Qt6Widgets.dll help.htm libgcc_s_seh-1.dll libstdc++-6.dll
libwinpthread-1.dll platforms/qwindows.dll radio-setup.exe radioctl.exe styles/qwindowsvistastyle.dll")
[[ $(unzip -Z1 "$zip" | grep -v '/$' | sort | xargs) == "$(sed "s|[^ ]\+|radio-setup-$version/&|g" <<<$files)" ]] ||
    fail "the zip holds: $(unzip -Z1 "$zip" | xargs)"

unset WINEPATH
new_prefix
export HOME=$WINEPREFIX/home
mkdir "$HOME"
dir=$WINEPREFIX/drive_c/Program\ Files/radio-setup
link=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Ostrevi电台参数设置软件.lnk
arp='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\radio-setup'
entry() { rm -f "$WINEPREFIX/arp.reg"; winrun wine regedit /E "$WINEPREFIX/arp.reg" "$arp"; iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/arp.reg"; }

# An older version, with a file this one no longer has.
unzip -q "$zip" -d "$WINEPREFIX/old" && touch "$WINEPREFIX/old/radio-setup-$version/Qt6Network.dll"
NSIS_COMPRESSOR=zlib "$src/scripts/package-windows" --installer "$WINEPREFIX/old/radio-setup-$version" 0.9 "$WINEPREFIX/old.exe"
winrun wine "$WINEPREFIX/old.exe" /S && [[ -e $dir/Qt6Network.dll ]] || fail "the older version did not install"

winrun wine "$setup" /S
[[ $(cd "$dir" && find . -type f | sed 's|^\./||' | sort | xargs) == "$files uninstall.exe" ]] || fail "installed: $(find "$dir")"
[[ -e $link ]] || fail "no Start-menu shortcut"
for f in radio-setup.exe radioctl.exe uninstall.exe; do
    [[ -z ${SIGNED_BY:-} ]] || osslsigncode verify -CAfile "$SIGNED_BY" -in "$dir/$f" >/dev/null || fail "$f: no valid signature"
done
reg=$(entry)
for line in '"DisplayName"="Ostrevi电台参数设置软件"' "\"DisplayVersion\"=\"$version\"" \
    '"Publisher"="奥斯特维无线通信有限公司"' '"DisplayIcon"="C:\\Program Files\\radio-setup\\radio-setup.exe,0"' \
    '"UninstallString"="\"C:\\Program Files\\radio-setup\\uninstall.exe\""' '"EstimatedSize"=dword:0000'; do
    grep -qF "$line" <<<"$reg" || fail "Add/Remove Programs lacks $line: $reg"
done

radioctl='C:\Program Files\radio-setup\radioctl.exe'
[[ $(winrun wine "$radioctl" --version) == "radioctl $version" ]] || fail "radioctl.exe --version is wrong"
start_sim --settings 2400,O,8,1 --tx 433125000 --rx 438500000
json=$(LD_PRELOAD=$BUILD/bin/libptyshim.so winrun wine "$radioctl" read --json --settings 2400,O,8,1)
[[ $json == '{"tx_hz": 433125000, "rx_hz": 438500000, "interface_rate": 2400, "channel_rate": 9600, "parity": "odd"}' ]] ||
    fail "the installed radioctl.exe read: $json"

# The installed window finds its platform plugin beside it and sends its start-up read.
LD_PRELOAD=$BUILD/bin/libptyshim.so "$src/scripts/winrun" wine 'C:\Program Files\radio-setup\radio-setup.exe' &
wait_log 'tool>dev F0 CC 0D \[4800,N,8,1\]' && kill $! && wait $! || true

winrun wine 'C:\Program Files\radio-setup\uninstall.exe' /S
# It carries on from a copy of itself; the entry goes last.
for _ in $(seq 100); do entry >/dev/null 2>&1 || break; sleep 0.1; done
! entry >/dev/null 2>&1 || fail "the Add/Remove Programs entry is left"
[[ ! -e $dir && ! -e $link ]] || fail "left behind: $(find "$dir" "$link")"
[[ -z $(ls -A "$HOME") ]] || fail "wine wrote into the home folder: $(find "$HOME" -type f)"
echo "check-windows-package: $(basename "$setup") and $(basename "$zip") pass"
