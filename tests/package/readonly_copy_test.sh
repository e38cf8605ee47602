#!/usr/bin/env bash
# A copy of Melodeck run by an ordinary user from a program folder that user cannot write, started in
# that folder (as an installed copy under Program Files is): its options, queue and play list survive a
# restart, kept in the user's application data folder, and nothing is written beside the program.
# Wine enforces a folder's permissions only for a user who is not root; run as root (as CI is), the
# script makes such a user with a Wine prefix of its own, once, and runs the copy as that user.
#   readonly_copy_test.sh SOURCE_DIR MELODECK_EXE DRIVER_EXE
set -euo pipefail
ROOT=$1 EXE=$2 DRIVER=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY; run the tests through tools/test.sh, which starts Xvfb"

user=$(id -un)
if [ "$(id -u)" = 0 ]; then
    user=melodeck-tester
    id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/sh "$user"
fi
home=$(getent passwd "$user" | cut -d: -f6)
as_user() {
    local environment=(HOME="$home" USER="$user" WINEPREFIX="$home/.wine-melodeck" WINEARCH=win64 WINEDEBUG=-all
                       DISPLAY="$DISPLAY" WINEDLLOVERRIDES="mscoree,mshtml=")
    [ -n "${ALSA_CONFIG_PATH:-}" ] && environment+=(ALSA_CONFIG_PATH="$ALSA_CONFIG_PATH")
    if [ "$(id -u)" = 0 ]; then
        (cd "$home" && runuser -u "$user" -- env "${environment[@]}" "$@")
    else
        (cd "$home" && env "${environment[@]}" "$@")
    fi
}
[ -r /proc/asound/cards ] && grep -q '^ *[0-9]' /proc/asound/cards || export ALSA_CONFIG_PATH="$ROOT/tools/asound-null.conf"

# The user's prefix, made once and kept, with the fonts every prefix of ours gets.
prefix="$home/.wine-melodeck"
if [ ! -f "$prefix/system.reg" ]; then
    as_user wineboot -i >/dev/null 2>&1 || fail "could not make the Wine prefix of $user"
    as_user wineserver -w
fi
if [ -d /usr/share/wine/fonts ]; then
    as_user mkdir -p "$prefix/drive_c/windows/Fonts"
    as_user sh -c "cp -n /usr/share/wine/fonts/* '$prefix/drive_c/windows/Fonts/' 2>/dev/null || true"
fi
appdata="$prefix/drive_c/users/$user/AppData/Roaming/Melodeck"
as_user rm -rf "$appdata"

# The program folder: read-only to the user (owned by root, or made read-only by its owner).
# Under /tmp, which every user can reach (a build folder may not be).
WORK=$(mktemp -d /tmp/melodeck-readonly.XXXXXX)
program="$WORK/Program"
mkdir -p "$program"
cp "$EXE" "$program/Melodeck.exe"
cp "$DRIVER" "$program/Driver.exe"
chmod 755 "$WORK"
if [ "$(id -u)" != 0 ]; then chmod 555 "$program"; fi
cleanup() { chmod -R u+w "$WORK" 2>/dev/null || true; rm -rf "$WORK"; as_user wineserver -k 2>/dev/null || true; }
trap cleanup EXIT
! as_user touch "$program/probe" 2>/dev/null || fail "$user can write the program folder"

# A file to open, where the user may read it: a short silent WAV.
music="$WORK/tone.wav"
python3 -c "
import struct, sys
data = bytes(8000)
header = b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVEfmt ' + struct.pack('<IHHIIHH', 16, 1, 1, 8000, 8000, 1, 8)
open(sys.argv[1], 'wb').write(header + b'data' + struct.pack('<I', len(data)) + data)" "$music"
chmod 644 "$music"

winpath() { echo "Z:${1//\//\\}"; }
as_user wine "$(winpath "$program/Driver.exe")" "$(winpath "$program/Melodeck.exe")" "$(winpath "$music")" ||
    fail "the copy did not keep its lists and options"
for f in Melodeck.ini Playlist.dat Queue.dat; do
    [ -s "$appdata/$f" ] || fail "nothing in $appdata/$f"
done
[ "$(ls -A "$program")" = "$(printf 'Driver.exe\nMelodeck.exe')" ] || fail "written beside the program: $(ls -A "$program")"
echo "read-only copy: options, queue and play list kept in the user's folder"
