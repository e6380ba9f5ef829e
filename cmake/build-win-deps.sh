#!/usr/bin/env bash
# Builds libbz2 and liblzma for Windows (mingw-w64) from Debian's source packages
# and prints the install prefix. The result is cached per package version, so
# only the first run on a machine pays for it.
set -euo pipefail
cd "$(dirname "$0")/.."
source cmake/setup.sh

host=x86_64-w64-mingw32
log="$QV_CACHE/win-deps.log"
mkdir -p "$QV_CACHE"

ensure_deb_src() {
    if apt-cache showsrc bzip2 2>/dev/null | grep -q '^Package: bzip2'; then
        return 0
    fi
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    # Make a deb-src entry from the configured Debian source list.
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
            $sudo tee /etc/apt/sources.list.d/quorvane-src.sources >/dev/null
    fi
    if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
        grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
            $sudo tee /etc/apt/sources.list.d/quorvane-src.list >/dev/null
    fi
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq >>"$log" 2>&1
}

ensure_deb_src
bz_ver=$(apt-cache showsrc bzip2 | awk '/^Version:/{print $2; exit}')
xz_ver=$(apt-cache showsrc xz-utils | awk '/^Version:/{print $2; exit}')
prefix="$QV_CACHE/win-deps-bzip2_${bz_ver}-xz_${xz_ver}"
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$prefix"
mkdir -p "$prefix/lib" "$prefix/include"
(
    cd "$work"
    apt-get source -qq bzip2 xz-utils
    bzdir=$(find . -maxdepth 1 -type d -name 'bzip2-*' | head -n1)
    (
        cd "$bzdir"
        for f in blocksort huffman crctable randtable compress decompress bzlib; do
            $host-gcc -O2 -D_FILE_OFFSET_BITS=64 -c $f.c -o $f.o
        done
        $host-ar rcs "$prefix/lib/libbz2.a" blocksort.o huffman.o crctable.o randtable.o compress.o decompress.o bzlib.o
        cp bzlib.h "$prefix/include/"
    )
    xzdir=$(find . -maxdepth 1 -type d -name 'xz-utils-*' | head -n1)
    (
        cd "$xzdir"
        ./configure --host=$host --prefix="$prefix" --disable-shared --enable-static --disable-xz --disable-xzdec \
            --disable-lzmadec --disable-lzmainfo --disable-lzma-links --disable-scripts --disable-doc --disable-nls \
            --enable-threads=vista
        make -j "$(qv_jobs)" -C src/liblzma
        make -C src/liblzma install
    )
) >>"$log" 2>&1 || { echo "building the Windows libraries failed; see $log" >&2; exit 1; }
touch "$prefix/.complete"
echo "$prefix"
