# shellcheck shell=bash
# shellcheck disable=SC2034 # settings for the scripts that source this file
# Shared steps of scripts/check, scripts/velmor and scripts/bench: packages, build,
# a private Wine prefix and a private X display. Sourced, not run.

VELMOR_ROOT=$(cd "${BASH_SOURCE[0]%/*}/.." && pwd)
# velmor.exe as it ships is built here; its 64-bit twin in the folder twin/ inside it
SHIPPED_BUILD_DIR=${SHIPPED_BUILD_DIR:-${BUILD_DIR:-$VELMOR_ROOT/build}}
export SHIPPED_BUILD_DIR
# the build in use until use_build chooses one: a script started by another (the run command
# by scripts/velmor or the installed velmor) goes on with the one chosen there
VELMOR_BUILD=${VELMOR_BUILD:-shipped}
case $VELMOR_BUILD in
    twin) BUILD_DIR=$SHIPPED_BUILD_DIR/twin WINEARCH=win64 ;;
    *) BUILD_DIR=$SHIPPED_BUILD_DIR WINEARCH=win32 ;;
esac
PREFIX_DIR=${VELMOR_PREFIX_DIR:-$BUILD_DIR}
export BUILD_DIR WINEARCH VELMOR_BUILD
# what builds velmor.exe and the tests, what runs them in either width (python3-xlib for
# the desktop companions; the window managers and panels of the desktops that the desktop
# tests run on), and Wine's half for each width
BUILD_PACKAGES="g++-mingw-w64-i686 cmake make googletest"
RUN_PACKAGES="wine fonts-wine cmake xvfb x11-utils fonts-liberation imagemagick xdotool python3
    python3-xlib openbox icewm trayer xterm xfwm4 xfce4-panel dbus-daemon lxpanel tint2 fluxbox"
WINE32_PACKAGES="wine32:i386 binutils-mingw-w64-i686"
# the 64-bit twin of the same sources, for machines that run no 32-bit x86 code
TWIN_PACKAGES="g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine64"
# what makes the Debian package (both widths, its icons) and checks it as Debian checks its own
PACKAGE_PACKAGES="g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 imagemagick dpkg-dev lintian
    desktop-file-utils appstream man-db groff-base file procps shellcheck"
# on a machine that runs no 32-bit x86 code: what emulates a PC, and what that PC has besides
EMULATOR_PACKAGES="qemu-system-x86 debootstrap e2fsprogs util-linux"
PC_PACKAGES="linux-image-amd64 procps"
# on one that runs it but whose own Wine lacks its 32-bit half: what makes the chroot and
# runs the tests there in a mount namespace of their own
CHROOT_PACKAGES="debootstrap util-linux"
# what apt in the Debian folder needs of this machine, mounted there while it runs
CHROOT_MOUNTS="proc sys dev"
# the Debian folder (scripts/debian_folder) that the chroot route runs in, and the emulated
# PC's disk image made from the same
DEBIAN_SUITE=bookworm
CHROOT_DIR=${VELMOR_CHROOT_DIR:-/var/cache/velmor-chroot}
PC_DIR=${VELMOR_PC_DIR:-/var/cache/velmor-pc}
PC_DISK_SIZE=6G
# a test in the emulated PC takes several times as long as on a machine that runs Wine
# itself (the slowest, 25 programs started and closed, about a minute), and its time limit
# is longer too
PC_TIME_SCALE=4
export WINEDEBUG=-all

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Wine runs velmor.exe and the tests as 32-bit x86 Linux processes, and some virtual machines
# run 64-bit user code only. The smallest 32-bit program, exit(0) through int 0x80, tells:
# an ELF header, one loadable segment, nine bytes of code.
runs_i386_user_code() {
    [ -n "${VELMOR_GUEST:-}" ] && return 0
    if [ -z "${I386_USER_CODE:-}" ]; then
        local probe
        probe=$(mktemp)
        printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' >"$probe"
        printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$probe"
        printf '\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' >>"$probe"
        chmod +x "$probe"
        if "$probe" 2>/dev/null; then I386_USER_CODE=yes; else I386_USER_CODE=no; fi
        rm -f "$probe"
    fi
    [ "$I386_USER_CODE" = yes ]
}

# The Debian mirror this machine's apt uses.
debian_mirror() {
    local mirror
    mirror=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/*.sources 2>/dev/null)
    [ -n "$mirror" ] || mirror=$(awk '$1 == "deb" && $2 !~ /^\[/ { print $2; exit }' /etc/apt/sources.list 2>/dev/null)
    echo "${mirror:-http://deb.debian.org/debian}"
}

# install_packages_into ROOT PACKAGE...: installs those not there yet into the system at
# ROOT (/ or the emulated PC's folder), so a second run installs nothing.
install_packages_into() {
    local root=$1 missing=() p in_root=() status=0 log=/dev/stderr
    shift
    # the emulated PC's installs are long and noisy: their messages go to a log beside it
    [ "$root" = / ] || { in_root=(chroot "$root"); log=$root-apt.log; }
    for p in "$@"; do
        as_root "${in_root[@]}" dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    if [ "$root" != / ]; then
        for p in $CHROOT_MOUNTS; do as_root mount --bind "/$p" "$root/$p"; done
    fi
    if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
        ! as_root "${in_root[@]}" dpkg --print-foreign-architectures | grep -qx i386; then
        as_root "${in_root[@]}" dpkg --add-architecture i386
    fi
    # a mirror in the middle of a sync serves an index of the wrong size for a while
    for p in 1 2 3; do
        as_root "${in_root[@]}" apt-get update -qq 2>>"$log" && break
        sleep 10
    done
    # with what they recommend: Wine's X11 driver loads the i386 X extension libraries
    # (XRandR, XRender, XInput...) at run time and behaves differently without them
    as_root "${in_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null 2>>"$log" || status=$?
    if [ "$root" != / ]; then
        for p in $CHROOT_MOUNTS; do as_root umount -l "$root/$p"; done
    fi
    return $status
}

# install_packages WHAT...: the build tools, and what runs each of WHAT here: "shipped"
# (Wine's both halves), "twin" (64-bit Wine and the twin's compiler), "pc" (the emulated
# PC), "chroot" (the chroot route, which needs nothing else of this machine's own),
# "package" (the Debian package and its checks).
install_packages() {
    [ -n "${VELMOR_GUEST:-}" ] && return 0
    local what packages=$BUILD_PACKAGES
    for what in "$@"; do
        case $what in
            shipped) packages+=" $RUN_PACKAGES $WINE32_PACKAGES" ;;
            twin) packages+=" $RUN_PACKAGES $TWIN_PACKAGES" ;;
            pc) packages+=" $EMULATOR_PACKAGES" ;;
            package) packages+=" $PACKAGE_PACKAGES" ;;
            chroot) packages+=" $CHROOT_PACKAGES" ;;
        esac
    done
    # shellcheck disable=SC2086 # a list of package names
    install_packages_into / $packages
}

# use_build shipped|twin: the build that the steps after it make and run, with Wine of its
# width and Wine prefixes of its own: velmor.exe as it ships (32-bit, the product) or its
# 64-bit twin, the same sources for machines that run no 32-bit x86 code.
use_build() {
    case $1 in
        shipped) BUILD_DIR=$SHIPPED_BUILD_DIR BUILD_WIDTH=32 BUILD_NAME="the shipped 32-bit velmor.exe"
            TOOLCHAIN=mingw-i686 WINEARCH=win32 ;;
        twin) BUILD_DIR=$SHIPPED_BUILD_DIR/twin BUILD_WIDTH=64 BUILD_NAME="the 64-bit twin"
            TOOLCHAIN=mingw-x86_64 WINEARCH=win64 ;;
    esac
    VELMOR_BUILD=$1
    export BUILD_DIR WINEARCH VELMOR_BUILD
    # the Wine prefixes (inside the emulated PC, on its own disk)
    PREFIX_DIR=${VELMOR_PREFIX_DIR:-$BUILD_DIR}
    [ "$1" = twin ] && use_wine64_loader
    return 0
}

# Debian's wine runs its 32-bit loader whenever Wine's 32-bit half is installed, and that one
# hands a 64-bit program to a process of its own, which the run command and the tests would
# not know by its pid: so the twin's wine, first on PATH, is the 64-bit loader itself.
use_wine64_loader() {
    local loader=/usr/lib/wine/wine64 folder=$BUILD_DIR/wine64-loader
    [ -x "$loader" ] && [ -e /usr/lib/wine/wine ] || return 0
    if [ ! -x "$folder/wine" ]; then
        mkdir -p "$folder"
        printf '#!/bin/sh\nWINELOADER=%s exec %s "$@"\n' "$loader" "$loader" >"$folder/wine"
        chmod +x "$folder/wine"
    fi
    case :$PATH: in *":$folder:"*) ;; *) export PATH=$folder:$PATH ;; esac
}

# Whether the shipped build runs here: the machine runs 32-bit x86 code and Wine's 32-bit
# half installs (it need not: a mirror may serve an i386 index that apt then leaves out,
# and the 32-bit libraries it has no longer match the 64-bit ones). Installs that half; a
# failed try is remembered for a day, so that each start does not wait for apt again.
shipped_runs_here() {
    [ -n "${VELMOR_GUEST:-}" ] && return 0
    local failed=$SHIPPED_BUILD_DIR/wine32-failed
    if [ -z "${SHIPPED_RUNS_HERE:-}" ]; then
        SHIPPED_RUNS_HERE=no
        if ! runs_i386_user_code; then
            echo "this machine runs no 32-bit x86 code"
        elif [ -n "$(find "$failed" -mmin -1440 2>/dev/null)" ]; then
            echo "Wine's 32-bit half could not be installed here today (remove $failed to try again)"
        elif install_packages shipped; then
            SHIPPED_RUNS_HERE=yes
        else
            echo "Wine's 32-bit half could not be installed here (see above)"
            mkdir -p "$SHIPPED_BUILD_DIR" && touch "$failed"
        fi
    fi
    [ "$SHIPPED_RUNS_HERE" = yes ]
}

# The route that scripts/check takes for the shipped build's tests here, said in one line
# and kept in ROUTE: "native" under this machine's own Wine; "chroot", where the machine
# runs 32-bit x86 code but its own Wine's 32-bit half does not install (or VELMOR_CHROOT=yes
# asks for it), natively in a chroot of Debian with Wine's both halves; "pc", where it runs
# no 32-bit code (or I386_USER_CODE=no says so), the 64-bit twin's natively and at the same
# time the shipped build's in the emulated PC.
choose_route() {
    local forced=${I386_USER_CODE:+ (I386_USER_CODE=$I386_USER_CODE)}
    if ! runs_i386_user_code; then
        ROUTE=pc
        echo "route: the 64-bit twin's tests natively and meanwhile the shipped build's in the emulated PC (no 32-bit x86 code runs here$forced)"
    elif [ "${VELMOR_CHROOT:-}" = yes ]; then
        ROUTE=chroot
        echo "route: the shipped build's tests natively in the chroot of $CHROOT_DIR (VELMOR_CHROOT=yes)"
    elif shipped_runs_here; then
        ROUTE=native
        echo "route: the shipped build's tests natively under this machine's own Wine"
    else
        ROUTE=chroot
        echo "route: the shipped build's tests natively in the chroot of $CHROOT_DIR, with Wine's both halves"
    fi
}

# write_guest_job FILE GUEST PREFIX_DIR COMMAND...: writes the job that runs COMMAND from the
# current directory in the emulated PC or the chroot (GUEST), with our VELMOR_* settings
# and the Wine prefixes in PREFIX_DIR there; GUEST_SHARES then holds the folders it needs
# at their own paths there: the checkout, the build folder and that directory.
write_guest_job() {
    local job=$1 guest=$2 prefixes=$3 here=$PWD path share name
    shift 3
    # a share there would hide the guest's own folder (its /tmp holds Wine's and X's sockets)
    case $here in
        /|/bin|/boot|/dev|/etc|/lib*|/proc|/root|/run|/sbin|/sys|/tmp|/usr|/var)
            here=$BUILD_DIR
            echo "the $guest needs a $PWD of its own, so this runs in $here" >&2 ;;
    esac
    GUEST_SHARES=()
    for path in "$VELMOR_ROOT" "$BUILD_DIR" "$here"; do
        for share in "${GUEST_SHARES[@]}"; do
            case $path/ in "$share"/*) continue 2 ;; esac
        done
        GUEST_SHARES+=("$path")
    done
    {
        printf 'cd %q\n' "$here"
        for name in $(compgen -e | grep -E '^(VELMOR_|CI$|IDLE_SECONDS$|BASELINE_BUILD$)'); do
            printf 'export %s=%q\n' "$name" "${!name}"
        done
        printf 'export BUILD_DIR=%q VELMOR_GUEST=%q VELMOR_PREFIX_DIR=%q\n' "$BUILD_DIR" "$guest" "$prefixes"
        printf '%q ' "$@"
        printf '\n'
    } >"$job"
}

# For the scripts that run the program here: installs what is missing and builds the build
# that runs here, the shipped one where it can, else the twin (and then it says so).
build_native() {
    if shipped_runs_here; then
        use_build shipped
    else
        echo "so this runs velmor.exe's 64-bit twin (the same sources; the 32-bit velmor.exe is what ships)"
        install_packages twin
        use_build twin
    fi
    build_velmor
}

# Builds the build in use (use_build); arguments go to CMake when its folder is first
# configured. BUILD_TARGET, when set, builds that target alone.
# shellcheck disable=SC2120 # scripts/release passes CMake options
build_velmor() {
    [ -n "${VELMOR_GUEST:-}" ] && return 0    # built outside, before
    echo "building $BUILD_NAME…"
    local scale=1 by_program=OFF
    # the shipped build's tests then run in the emulated PC, each program's in one process
    if [ "$BUILD_WIDTH" = 32 ] && ! runs_i386_user_code; then
        scale=$PC_TIME_SCALE by_program=ON
    fi
    if ! grep -qx "VELMOR_TIME_SCALE:STRING=$scale" "$BUILD_DIR/CMakeCache.txt" 2>/dev/null ||
        ! grep -qx "VELMOR_TESTS_BY_PROGRAM:BOOL=$by_program" "$BUILD_DIR/CMakeCache.txt"; then
        cmake -S "$VELMOR_ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$VELMOR_ROOT/cmake/$TOOLCHAIN.cmake" \
            -DVELMOR_TIME_SCALE="$scale" -DVELMOR_TESTS_BY_PROGRAM="$by_program" "$@" >/dev/null
    fi
    if ! cmake --build "$BUILD_DIR" -j "$(nproc)" ${BUILD_TARGET:+--target "$BUILD_TARGET"} >"$BUILD_DIR/build.log" 2>&1; then
        grep -E -B2 -A6 'error|Error' "$BUILD_DIR/build.log" | head -60
        echo "build failed; see $BUILD_DIR/build.log" >&2
        return 1
    fi
    grep -E 'warning' "$BUILD_DIR/build.log" || true
}

# wine_setting KEY NAME VALUE: one registry value in the prefix, under HKCU\Software\Wine.
wine_setting() {
    wine reg add "HKCU\\Software\\Wine$1" /v "$2" /d "$3" /f </dev/null >/dev/null 2>&1
}

# The Wine prefix, set up once: Windows version 4 for velmor.exe (for every program with
# "all", as the test programs run the program's code in-process), Wine moving windows itself
# (so WM_MOVING reaches the program), Arial resolved to its twin. With "user" the prefix is
# the user's own ($WINEPREFIX): it is created if need be, and only velmor.exe's own settings
# (AppDefaults) are added, so that no other program there changes.
prepare_wine_prefix() {
    local scope=${1:-velmor}
    [ "$VELMOR_BUILD" = twin ] && use_wine64_loader
    export WINEPREFIX=${WINEPREFIX:-$PREFIX_DIR/wineprefix}
    [ -f "$WINEPREFIX/.velmor-ready" ] && return 0
    if [ "$scope" != user ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "preparing the Wine prefix (first run only, about a minute)…"
        mkdir -p "$WINEPREFIX"
        if ! wineboot -i </dev/null >"$BUILD_DIR/wineboot.log" 2>&1; then
            echo "wineboot could not set up the Wine prefix $WINEPREFIX; see $BUILD_DIR/wineboot.log" >&2
            return 1
        fi
        # Debian's Wine does not look in its own font folder; without these the dialogs'
        # "MS Sans Serif" falls back to a wider face and the labels no longer fit
        cp -n /usr/share/wine/fonts/*.fon /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    wine_setting '\AppDefaults\velmor.exe' Version nt40
    if [ "$scope" = user ]; then
        # set again at every start, and no mark left in the user's prefix; what wine reg has
        # set, the next program there reads from the same wineserver, or from the disk once
        # that server has ended, so no wait for the prefix's other programs (other copies)
        wine_setting '\AppDefaults\velmor.exe\X11 Driver' Managed N
        return 0
    fi
    [ "$scope" = all ] && wine_setting '' Version nt40
    wine_setting '\X11 Driver' Managed N
    wine_setting '\Fonts\Replacements' Arial "Liberation Sans"
    # the registry on disk before the mark: the tests copy the prefix's files
    wineserver -w
    touch "$WINEPREFIX/.velmor-ready"
}

# start_xvfb GEOMETRY: an Xvfb of our own on a display number it picks itself (-displayfd),
# so two runs at once never take the same one; sets XVFB_DISPLAY and XVFB_PID. -noreset: an
# X server resets when its last client leaves, and refuses the next one meanwhile; the check
# that it is up is such a client.
start_xvfb() {
    local numberFile number=
    numberFile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$numberFile" </dev/null >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -z "$number" ] && [ -s "$numberFile" ] && number=$(head -n1 "$numberFile")
        if [ -n "$number" ] && DISPLAY=":$number" xdpyinfo >/dev/null 2>&1; then
            XVFB_DISPLAY=":$number"
            rm -f "$numberFile"
            return 0
        fi
        sleep 0.1
    done
    rm -f "$numberFile"
    echo "Xvfb did not start" >&2
    return 1
}

# start_private_display [GEOMETRY]: such an Xvfb as $DISPLAY, stopped by stop_wine_and_display
start_private_display() {
    start_xvfb "${1:-1024x768x24}" || return 1
    export DISPLAY=$XVFB_DISPLAY
}

# Wine's background services keep the stdout of the first Wine process open, so
# start them detached before anything reads our output (a server already running, such
# as the one scripts/velmor's companions started, refuses -p and is kept).
start_wine_services() {
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wine cmd /c exit </dev/null >/dev/null 2>&1
}

stop_wine_and_display() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}

