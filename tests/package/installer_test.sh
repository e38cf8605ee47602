#!/usr/bin/env bash
# The installer end to end under Wine: tools/package.sh makes it from this build's program, it installs
# silently, the installed program starts and shows its player window, and the uninstaller takes away
# everything the installer put there: files, Start-menu shortcuts and registry keys.
#   installer_test.sh SOURCE_DIR WINE_RUN MELODECK_EXE WORK_DIR
set -euo pipefail
ROOT=$1 WINE_RUN=$2 EXE=$3 WORK=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
# Note: no "producer | grep -q" below: with pipefail, grep's early exit fails the producer.
# Waits up to $1 seconds for the command to succeed.
wait_for() {
    local limit=$1 start=$SECONDS
    shift
    until "$@"; do
        [ $((SECONDS - start)) -lt "$limit" ] || return 1
        sleep 0.2
    done
}

rm -rf "$WORK" && mkdir -p "$WORK"
MELODECK_BUILD="$WORK/build" "$ROOT/tools/package.sh" --exe "$EXE" --out "$WORK" 2>&1
listing=$(unzip -l "$WORK/Melodeck-portable.zip")
for f in Melodeck.exe README.txt LICENSE.txt; do grep -q " $f$" <<<"$listing" || fail "the zip has no $f"; done

drive_c=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$WINE_RUN")/drive_c
[ -d "$drive_c" ] || fail "no Wine prefix drive at $drive_c"
name="melodeck-install-$$"
target="C:\\$name\\Melodeck"
folder="$drive_c/$name/Melodeck"
menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Melodeck"
application='HKLM\Software\Classes\Applications\Melodeck.exe'
progid='HKLM\Software\Classes\Melodeck.MusicFile'
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Melodeck'
key_exists() { "$WINE_RUN" reg query "$1" >/dev/null 2>&1; }
value_of() { "$WINE_RUN" reg query "$1" 2>/dev/null | tr -d '\r' || true; }

# Whatever happens, nothing of this run stays in the prefix.
cleanup() {
    [ -f "$folder/Uninstall.exe" ] && "$WINE_RUN" "$folder/Uninstall.exe" /S </dev/null >/dev/null 2>&1
    wait_for 60 sh -c "[ ! -e '$folder/Uninstall.exe' ]" || true
    rm -rf "${drive_c:?}/$name"
}
trap cleanup EXIT

"$WINE_RUN" "$WORK/Melodeck-setup.exe" /S "/D=$target" </dev/null
for f in Melodeck.exe README.txt LICENSE.txt Uninstall.exe Melodeck.installed; do
    [ -f "$folder/$f" ] || fail "not installed: $f"
done
[ -f "$menu/Melodeck.lnk" ] || fail "no Start-menu shortcut"
[ -f "$menu/Uninstall Melodeck.lnk" ] || fail "no uninstaller shortcut"
key_exists "$uninstall" || fail "no entry in the list of installed programs"
grep -qF "\"$target\\Melodeck.exe\" \"%1\"" <<<"$(value_of "$application\\shell\\open\\command")" ||
    fail "no Open with command: $(value_of "$application\\shell\\open\\command")"
for type in .mp3 .m3u; do
    grep -q "Melodeck.MusicFile" <<<"$(value_of "HKLM\\Software\\Classes\\$type\\OpenWithProgids")" ||
        fail "Melodeck is not offered for $type files"
done
for key in "$application\\shell\\open" "$progid\\shell\\open"; do
    grep -q "MultiSelectModel.*Player" <<<"$(value_of "$key")" || fail "several files do not go to one player: $key"
done

# The installed program starts (from a folder of its own, as the shortcut would) and shows its window.
appdata="$drive_c/users/$(id -un)/AppData/Roaming/Melodeck"
rm -rf "$appdata"
cd "$WORK"
"$WINE_RUN" "$target\\Melodeck.exe" </dev/null >/dev/null 2>&1 &
program=$!
# Other tests may show players of their own: the window must belong to this program's process.
pid=""
shows_window() {
    local id
    pid=$(pgrep -f "$name.Melodeck.Melodeck.exe" | head -1)
    [ -n "$pid" ] || return 1
    for id in $(xwininfo -root -tree 2>/dev/null | awk '/"Melodeck": / {print $1}'); do
        grep -q "= $pid\$" <<<"$(xprop -id "$id" _NET_WM_PID 2>/dev/null)" && return 0
    done
    return 1
}
started=0
wait_for 60 shows_window && started=1
[ -n "$pid" ] && kill "$pid" 2>/dev/null
wait "$program" 2>/dev/null || true
[ "$started" = 1 ] || fail "the installed program showed no window"
# Marked as installed, it keeps its data in the user's application data folder, not beside itself.
[ -d "$appdata" ] || fail "no folder $appdata"
# Its process is gone before the uninstaller runs, so that every file can go.
ended() { ! pgrep -f "$name.Melodeck.Melodeck.exe" >/dev/null; }
wait_for 30 ended || fail "the program did not end"

# The uninstaller copies itself away and returns at once; its work is done when the folder is gone.
"$WINE_RUN" "$folder/Uninstall.exe" /S </dev/null
gone() { [ ! -e "$folder" ] && [ ! -e "$menu" ] && ! key_exists "$uninstall"; }
wait_for 60 gone || fail "left behind: $(ls -A "$folder" "$menu" 2>/dev/null | tr '\n' ' ')"
for key in "$application" "$progid"; do ! key_exists "$key" || fail "left in the registry: $key"; done
for type in .mp3 .m3u; do
    ! grep -q "Melodeck.MusicFile" <<<"$(value_of "HKLM\\Software\\Classes\\$type\\OpenWithProgids")" ||
        fail "still offered for $type files"
done
rm -rf "$WORK"
echo "installer: installed, started and removed cleanly"
