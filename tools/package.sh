#!/usr/bin/env bash
# Builds what Melodeck ships as: a portable zip (Melodeck.exe, README, licence) and an NSIS installer
# (Start-menu shortcuts, an uninstaller, "Open with Melodeck" for .mp3 and .m3u files).
#   tools/package.sh [--exe PATH] [--out FOLDER]
# Without --exe it builds Melodeck.exe in the build folder (MELODECK_BUILD, default build/) first. The
# files go to FOLDER (default <build>/package): Melodeck-portable.zip and Melodeck-setup.exe.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${MELODECK_BUILD:-$ROOT/build}
. "$ROOT/tools/common.sh"

exe=""
out="$BUILD/package"
while [ $# -gt 0 ]; do
    case "$1" in
    --exe) exe=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "usage: $0 [--exe PATH] [--out FOLDER]" >&2; exit 2 ;;
    esac
done

ensure_packages
if [ -z "$exe" ]; then
    configure_win
    log "Building Melodeck.exe"
    cmake --build "$BUILD/win" --target Melodeck -j"$(nproc)"
    exe="$BUILD/win/Melodeck.exe"
fi
[ -f "$exe" ] || { echo "no program file: $exe" >&2; exit 1; }

mkdir -p "$out"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# Windows users read text files with CR LF line ends and open them by their extension.
cp "$exe" "$stage/Melodeck.exe"
sed 's/$/\r/' "$ROOT/README.md" > "$stage/README.txt"
sed 's/$/\r/' "$ROOT/LICENSE" > "$stage/LICENSE.txt"

log "Portable zip"
rm -f "$out/Melodeck-portable.zip"
(cd "$stage" && zip -q -X "$out/Melodeck-portable.zip" Melodeck.exe README.txt LICENSE.txt)

log "Installer"
# The program is 64-bit, and so is the installer: a Wine without 32-bit support runs it too.
cat > "$stage/Melodeck.nsi" <<'EOF'
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define KEY_UNINSTALL "Software\Microsoft\Windows\CurrentVersion\Uninstall\Melodeck"
!define KEY_APPLICATION "Software\Classes\Applications\Melodeck.exe"
!define PROGID "Melodeck.MusicFile"

Name "Melodeck"
OutFile "Melodeck-setup.exe"
InstallDir "$PROGRAMFILES64\Melodeck"
InstallDirRegKey HKLM "${KEY_UNINSTALL}" "InstallLocation"
LicenseData "LICENSE.txt"

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Melodeck"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "Melodeck.exe"
    File "README.txt"
    File "LICENSE.txt"
    ; The mark of an installed copy: it keeps its options and lists in the user's application data
    ; folder (%APPDATA%\Melodeck), whatever folder it is started in.
    FileOpen $0 "$INSTDIR\Melodeck.installed" w
    FileWrite $0 "Installed by Melodeck-setup.exe: options and lists live in %APPDATA%\Melodeck.$\r$\n"
    FileClose $0
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateDirectory "$SMPROGRAMS\Melodeck"
    CreateShortcut "$SMPROGRAMS\Melodeck\Melodeck.lnk" "$INSTDIR\Melodeck.exe"
    CreateShortcut "$SMPROGRAMS\Melodeck\Uninstall Melodeck.lnk" "$INSTDIR\Uninstall.exe"

    ; "Open with": the program takes the files it is given on its command line; several selected files
    ; go to one player (MultiSelectModel Player where the shell allows it; other starts hand theirs over).
    WriteRegStr HKLM "${KEY_APPLICATION}" "FriendlyAppName" "Melodeck"
    WriteRegStr HKLM "${KEY_APPLICATION}\shell\open" "MultiSelectModel" "Player"
    WriteRegStr HKLM "${KEY_APPLICATION}\shell\open\command" "" '"$INSTDIR\Melodeck.exe" "%1"'
    WriteRegStr HKLM "${KEY_APPLICATION}\SupportedTypes" ".mp3" ""
    WriteRegStr HKLM "${KEY_APPLICATION}\SupportedTypes" ".m3u" ""
    WriteRegStr HKLM "Software\Classes\${PROGID}" "" "Music file (Melodeck)"
    WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open" "" "Open with Melodeck"
    WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open" "MultiSelectModel" "Player"
    WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\Melodeck.exe" "%1"'
    WriteRegStr HKLM "Software\Classes\.mp3\OpenWithProgids" "${PROGID}" ""
    WriteRegStr HKLM "Software\Classes\.m3u\OpenWithProgids" "${PROGID}" ""

    WriteRegStr HKLM "${KEY_UNINSTALL}" "DisplayName" "Melodeck"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "Publisher" "Melodeck developers"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "DisplayIcon" "$INSTDIR\Melodeck.exe"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${KEY_UNINSTALL}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${KEY_UNINSTALL}" "NoModify" 1
    WriteRegDWORD HKLM "${KEY_UNINSTALL}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$INSTDIR\Melodeck.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\Melodeck.installed"
    ; Earlier versions kept their options beside the program; they go with it. The user's own options
    ; and lists in %APPDATA%\Melodeck stay, as documents do.
    Delete "$INSTDIR\Melodeck.ini"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\Melodeck\Melodeck.lnk"
    Delete "$SMPROGRAMS\Melodeck\Uninstall Melodeck.lnk"
    RMDir "$SMPROGRAMS\Melodeck"

    DeleteRegValue HKLM "Software\Classes\.mp3\OpenWithProgids" "${PROGID}"
    DeleteRegValue HKLM "Software\Classes\.m3u\OpenWithProgids" "${PROGID}"
    DeleteRegKey /ifempty HKLM "Software\Classes\.mp3\OpenWithProgids"
    DeleteRegKey /ifempty HKLM "Software\Classes\.m3u\OpenWithProgids"
    DeleteRegKey HKLM "Software\Classes\${PROGID}"
    DeleteRegKey HKLM "${KEY_APPLICATION}"
    DeleteRegKey HKLM "${KEY_UNINSTALL}"
SectionEnd
EOF
(cd "$stage" && makensis -V2 -NOCD Melodeck.nsi)
mv "$stage/Melodeck-setup.exe" "$out/Melodeck-setup.exe"
log "Wrote $out/Melodeck-portable.zip and $out/Melodeck-setup.exe"
