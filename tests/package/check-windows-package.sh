#!/usr/bin/env bash
# Checks the Windows packages of scripts/package-windows in a fresh wine
# prefix: the zip and the silent install hold exactly the program's files;
# the install adds the Start-menu shortcut and the Add/Remove Programs entry;
# the installed radioctl.exe, with no DLL path given, prints its version and
# reads a simulated unit; installing over an older version leaves none of its
# files; the silent uninstall leaves nothing.
#   BUILD=build-test WINDOWS_BUILD_DIR=build-win tests/package/check-windows-package.sh SETUP.exe ZIP
set -euo pipefail
. "$(dirname "$0")/../windows/wine.sh"
setup=$1 zip=$2
version=$(sed -n 's/^project(radio-setup VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
files=$(xargs <<<"Qt6Core.dll Qt6Gui.dll Qt6SerialPort.dll Qt6Widgets.dll help.htm libgcc_s_seh-1.dll libstdc++-6.dll
libwinpthread-1.dll platforms/qwindows.dll radio-setup.exe radioctl.exe styles/qwindowsvistastyle.dll")
[[ $(unzip -Z1 "$zip" | grep -v '/$' | sort | xargs) == "$(sed "s|[^ ]\+|radio-setup-$version/&|g" <<<$files | xargs)" ]] ||
    fail "the zip holds: $(unzip -Z1 "$zip" | xargs)"

unset WINEPATH
new_prefix
dir=$WINEPREFIX/drive_c/Program\ Files/radio-setup
installed() { (cd "$dir" && find . -type f | sed 's|^\./||' | sort | xargs); }
entry() { rm -f "$WINEPREFIX/arp.reg"; winrun wine regedit /E "$WINEPREFIX/arp.reg" "$arp"; iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/arp.reg"; }
arp='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\radio-setup'

# An older version with a file this one no longer has.
old=$WINEPREFIX/old
unzip -q "$zip" -d "$old" && touch "$old/radio-setup-$version/Qt6Network.dll"
NSIS_COMPRESSOR=zlib "$src/scripts/package-windows" --installer "$old/radio-setup-$version" 0.9 "$old/setup.exe" >/dev/null
winrun wine "$old/setup.exe" /S && [[ -e $dir/Qt6Network.dll ]] || fail "the older version did not install"

winrun wine "$setup" /S
[[ $(installed) == "$files uninstall.exe" ]] || fail "installed: $(installed)"
[[ -e $WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Ostrevi电台参数设置软件.lnk ]] ||
    fail "no Start-menu shortcut"
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

winrun wine 'C:\Program Files\radio-setup\uninstall.exe' /S
wineserver -w # the uninstaller carries on from a copy of itself
[[ ! -e $dir ]] || fail "left behind: $(find "$dir")"
[[ ! -e $WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Ostrevi电台参数设置软件.lnk ]] ||
    fail "the shortcut is left"
! entry >/dev/null 2>&1 || fail "the Add/Remove Programs entry is left"
echo "check-windows-package: $(basename "$setup") and $(basename "$zip") pass"
