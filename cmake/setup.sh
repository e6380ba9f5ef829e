# Shared by ./run and ./test: installs the Debian packages that are missing.
# Sourced, not run.

qv_missing_packages() {
    local missing=()
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "ok installed"; then
            missing+=("$pkg")
        fi
    done
    echo "${missing[@]}"
}

qv_ensure_packages() {
    local missing
    missing=$(qv_missing_packages "$@")
    [ -z "$missing" ] && return 0
    echo "Installing Debian packages: $missing"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    # Another apt-get (an upgrade, a second ./run) may hold the package lock:
    # wait for it rather than fail at once.
    local lock=(-o DPkg::Lock::Timeout=600)
    $sudo apt-get "${lock[@]}" update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get "${lock[@]}" install -y -qq --no-install-recommends $missing
}

QV_BUILD_PACKAGES=(cmake ninja-build g++ make pkg-config ccache libncurses-dev zlib1g-dev libbz2-dev liblzma-dev)
QV_TEST_PACKAGES=(googletest mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
                  wine wine64 dpkg-dev clang libclang-rt-dev zip unzip p7zip-full arj bzip2 xz-utils)

qv_jobs() {
    nproc 2>/dev/null || echo 2
}

export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
# Worktrees of one checkout share cache hits: paths are hashed relative to the tree.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
# ... and the build folder is left out of the hash, or no worktree would ever
# hit another's objects (debug information then names the first one's folder).
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
QV_CACHE="${XDG_CACHE_HOME:-$HOME/.cache}/quorvane"

# The wine of the Windows legs and the prefix they keep (one per source tree:
# its wineservers are ended at the close of a run, which must not end the runs
# of another checkout on the same machine). Sets QV_WINE and exports
# WINEPREFIX (unless given), WINEDEBUG and WINEDLLOVERRIDES; makes the prefix
# when missing.
qv_wine_env() {
    QV_WINE=$(command -v wine64 || true)
    [ -z "$QV_WINE" ] && [ -x /usr/lib/wine/wine64 ] && QV_WINE=/usr/lib/wine/wine64
    [ -z "$QV_WINE" ] && QV_WINE=$(command -v wine)
    export QV_WINE
    local tree_key
    tree_key=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd | md5sum | cut -c1-8)
    export WINEPREFIX="${WINEPREFIX:-$QV_CACHE/wineprefix-$tree_key}"
    export WINEDEBUG=-all
    # No debugger: a crashing program must fail its test, not wait for a debugger's input.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
    mkdir -p "$WINEPREFIX"
    if [ ! -d "$WINEPREFIX/dosdevices" ]; then
        "$QV_WINE" cmd /c exit >/dev/null 2>&1 || true
    fi
}
