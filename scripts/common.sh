# Shared steps of scripts/check, scripts/velmor and scripts/bench: packages, build,
# a private Wine prefix and a private X display. Sourced, not run.

VELMOR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$VELMOR_ROOT/build}
VELMOR_PACKAGES="wine wine32:i386 fonts-wine g++-mingw-w64-i686 cmake make googletest xvfb x11-utils fonts-liberation imagemagick xdotool openbox xterm python3"
export WINEDEBUG=-all

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs only the packages that are not there yet, so a second run installs nothing.
install_packages() {
    local missing=() p
    for p in $VELMOR_PACKAGES "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    as_root apt-get update -qq
    # with what they recommend: Wine's X11 driver loads the i386 X extension libraries
    # (XRandR, XRender, XInput...) at run time and behaves differently without them
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# Arguments go to CMake when the build folder is first configured.
build_velmor() {
    echo "building…"
    if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
        cmake -S "$VELMOR_ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$VELMOR_ROOT/cmake/mingw-i686.cmake" "$@" >/dev/null
    fi
    if ! cmake --build "$BUILD_DIR" -j "$(nproc)" >"$BUILD_DIR/build.log" 2>&1; then
        grep -E -B2 -A6 'error|Error' "$BUILD_DIR/build.log" | head -60
        echo "build failed; see $BUILD_DIR/build.log" >&2
        return 1
    fi
    grep -E 'warning' "$BUILD_DIR/build.log" || true
}

# Wine runs velmor.exe and the tests as 32-bit x86 Linux processes. Some virtual machines
# run 64-bit user code only; there every Wine command fails with "Exec format error", so say
# that once, plainly, rather than fail later with nothing to show why.
require_i386_user_code() {
    local loader=/lib/ld-linux.so.2 message
    [ -x "$loader" ] || return 0    # not installed yet: Wine's own start will tell
    if ! message=$("$loader" --version 2>&1 >/dev/null); then
        echo "this machine cannot run 32-bit x86 programs, so Wine cannot run velmor.exe here" >&2
        echo "($loader: ${message##*: })" >&2
        return 1
    fi
}

# A Wine prefix of our own, set up once: Windows version 4 for velmor.exe (for every
# program with "all", as the test programs run the program's code in-process), Wine
# moving windows itself (so WM_MOVING reaches the program), Arial resolved to its twin.
prepare_wine_prefix() {
    local scope=${1:-velmor}
    export WINEPREFIX=${WINEPREFIX:-$BUILD_DIR/wineprefix}
    export WINEARCH=win32
    require_i386_user_code || return 1
    if [ ! -f "$WINEPREFIX/.velmor-ready" ]; then
        echo "preparing the Wine prefix (first run only, about a minute)…"
        mkdir -p "$WINEPREFIX"
        if ! wineboot -i </dev/null >"$BUILD_DIR/wineboot.log" 2>&1; then
            echo "wineboot could not set up the Wine prefix $WINEPREFIX; see $BUILD_DIR/wineboot.log" >&2
            return 1
        fi
        # Debian's Wine does not look in its own font folder; without these the dialogs'
        # "MS Sans Serif" falls back to a wider face and the labels no longer fit
        cp /usr/share/wine/fonts/*.fon /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        wine reg add 'HKCU\Software\Wine\AppDefaults\velmor.exe' /v Version /d nt40 /f </dev/null >/dev/null 2>&1
        if [ "$scope" = all ]; then
            wine reg add 'HKCU\Software\Wine' /v Version /d nt40 /f </dev/null >/dev/null 2>&1
        fi
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d "Liberation Sans" /f </dev/null >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.velmor-ready"
    fi
}

# Starts an Xvfb of our own on a display number it picks itself (-displayfd), so two runs at
# once never take the same one; sets DISPLAY and XVFB_PID.
start_private_display() {
    local geometry=${1:-1024x768x24} numberFile number=
    numberFile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp 3>"$numberFile" </dev/null >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -z "$number" ] && [ -s "$numberFile" ] && number=$(head -n1 "$numberFile")
        if [ -n "$number" ] && DISPLAY=":$number" xdpyinfo >/dev/null 2>&1; then
            export DISPLAY=":$number"
            rm -f "$numberFile"
            return 0
        fi
        sleep 0.1
    done
    rm -f "$numberFile"
    echo "Xvfb did not start" >&2
    return 1
}

# Wine's background services keep the stdout of the first Wine process open, so
# start them detached before anything reads our output.
start_wine_services() {
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
}

stop_wine_and_display() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}
