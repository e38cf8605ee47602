# Shared set-up for tools/run.sh and tools/test.sh: packages, the private Wine prefix, a display.
# Sourced, not run. Expects ROOT (the source tree) and BUILD (the build folder) to be set.

log() { printf '\033[1m== %s\033[0m\n' "$*" >&2; }

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Packages the build, the tests and the run need; only the missing ones are installed.
ensure_packages() {
    local wanted="cmake make g++ googletest libgtest-dev clang libclang-rt-14-dev
        g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
        wine wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick
        gstreamer1.0-plugins-base gstreamer1.0-plugins-good nsis zip unzip"
    local missing="" p
    for p in $wanted; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    if [ -n "$missing" ]; then
        log "Installing:$missing"
        as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
    fi
}

# A display for Wine: the user's own when there is one, otherwise a private Xvfb that stop_display ends.
XVFB_PID=""
ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return
    fi
    local n
    for n in $(seq 91 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        local i
        for i in $(seq 1 50); do
            DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && { export DISPLAY=":$n"; log "Started Xvfb on :$n"; return; }
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null
        XVFB_PID=""
    done
    log "Could not start Xvfb" && return 1
}

stop_display() {
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
}

# Environment every Wine process of ours runs with.
wine_env() {
    export WINEPREFIX="$BUILD/wineprefix"
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEARCH=win64
    # No sound card (CI): ALSA's null device takes Wine's output, so MCI playback still runs.
    if ! grep -q '^ *[0-9]' /proc/asound/cards 2>/dev/null; then
        export ALSA_CONFIG_PATH="$ROOT/tools/asound-null.conf"
    fi
}

# The private Wine prefix, made once and reused.
ensure_prefix() {
    wine_env
    if [ ! -f "$WINEPREFIX/.melodeck-ready" ]; then
        log "Creating the Wine prefix in $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        # No Mono or Gecko download prompts while the prefix is made.
        WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
        # Wine draws window frames itself (Xvfb has no window manager); crashes print, not prompt.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.melodeck-ready"
    fi
    ensure_prefix_fonts
}

# Debian's Wine never reads /usr/share/wine/fonts, so Marlett (the glyphs of caption buttons, check
# marks and arrows) and Tahoma would be missing: Wine loads whatever lies in the prefix's Fonts folder.
# Checked on every run, so that prefixes made before this step get the fonts too.
ensure_prefix_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" f copied=0
    [ -d /usr/share/wine/fonts ] || return 0
    mkdir -p "$fonts"
    for f in /usr/share/wine/fonts/*; do
        # Wine's Tahoma Bold has the regular outlines above 11 pixels: bold text would look regular.
        # Without it Wine emboldens Tahoma itself, visibly at every size.
        if [ "$(basename "$f")" = tahomabd.ttf ]; then
            [ -e "$fonts/tahomabd.ttf" ] && rm -f "$fonts/tahomabd.ttf" && copied=1
            continue
        fi
        [ -e "$fonts/$(basename "$f")" ] && continue
        cp "$f" "$fonts/" && copied=1
    done
    # A running server has cached the old font list.
    [ "$copied" = 1 ] && wineserver -k 2>/dev/null || true
}

configure_win() {
    cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DMELODECK_WINEPREFIX="$BUILD/wineprefix" "$@" >/dev/null
}
