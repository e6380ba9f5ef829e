#!/usr/bin/env bash
# Makes the seed archives of the archive readers' fuzz targets: small archives
# by Debian's zip, tar, gzip, bzip2, xz, 7z and arj, and byte fixtures of the
# formats no Debian program writes (RAR 1.5 to 4, LHA, ACE, HA), built from
# their layouts as the unit tests build them. Run it from anywhere; it
# replaces tests/archive/fuzz/seeds.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
seeds="$here/seeds"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export TZ=UTC

rm -rf "$seeds"
mkdir -p "$seeds"/{zip,rar,lha,arj,ace,ha,sevenzip,tar}
cd "$work"
mkdir -p a "a b" deep/er
printf 'xx' > a/x
printf 'yyy' > "a b/y"
printf 'text of a\n' > a.txt
printf 'deep' > deep/er/z.txt
ln -s a.txt link
touch -h -d '2021-03-04 05:06:08' a/x "a b/y" a.txt deep/er/z.txt link a "a b" deep deep/er

zip -q -r -X "$seeds/zip/tree.zip" a "a b" a.txt deep
zip -q -X -Z store "$seeds/zip/stored.zip" a.txt
{ printf 'MZ'; head -c 200 /dev/zero; cat "$seeds/zip/stored.zip"; } > "$seeds/zip/sfx.zip"
tar --format=gnu -cf "$seeds/tar/tree.tar" a "a b" a.txt deep link
tar --format=pax -cf "$seeds/tar/pax.tar" a.txt link
tar --format=ustar -czf "$seeds/tar/tree.tar.gz" a "a b" a.txt
tar -cjf "$seeds/tar/tree.tar.bz2" a.txt
tar -cJf "$seeds/tar/tree.tar.xz" a.txt
gzip -c a.txt > "$seeds/tar/a.txt.gz"
bzip2 -c a.txt > "$seeds/tar/a.txt.bz2"
xz -c a.txt > "$seeds/tar/a.txt.xz"
7z a -bd "$seeds/sevenzip/tree.7z" a "a b" a.txt >/dev/null
7z a -bd -mhc=off "$seeds/sevenzip/plain-header.7z" a a.txt >/dev/null
7z a -bd -m0=copy "$seeds/sevenzip/copy.7z" a.txt >/dev/null
arj a -r "$seeds/arj/tree.arj" '*' >/dev/null

python3 - "$seeds" <<'PY'
import struct, sys
seeds = sys.argv[1]
dos = struct.pack('<HH', 5 << 11 | 6 << 5 | 4, (2021 - 1980) << 9 | 3 << 5 | 4)

def rar_file(name, flags, packed, unpacked, host, attributes, data=b''):
    body = struct.pack('<IIBI', packed, unpacked, host, 0) + dos + b'\x14\x30' + struct.pack('<HI', len(name), attributes)
    if flags & 0x100:
        body += struct.pack('<II', 0, 0)
    body += name
    return struct.pack('<HBHH', 0, 0x74, flags | 0x8000, 7 + len(body)) + body + data

rar = b'Rar!\x1a\x07\x00' + struct.pack('<HBHH', 0, 0x73, 0, 13) + b'\0' * 6
rar += rar_file(b'dir/a.txt', 0, 4, 10, 2, 0x27, b'data') + rar_file(b'dir/sub', 0xE0, 0, 0, 3, 0x10)
rar += rar_file(b'ab\x00\x04\x48\x30c\x3a\x26d', 0x200, 0, 5, 3, 0x20)
open(seeds + '/rar/members.rar', 'wb').write(rar)

def lha(name, packed, unpacked, level, data=b''):
    rest = b'-lh5-' + struct.pack('<II', packed, unpacked) + dos + b'\x20' + bytes([level, len(name)]) + name
    return bytes([len(rest) + 2, 0]) + rest + b'\0\0' + data

open(seeds + '/lha/members.lzh', 'wb').write(
    lha(b'dir\\a.txt', 3, 9, 0, b'aaa') + lha(b'dir/sub/', 0, 0, 1) + lha(b'EAS\\ea', 1, 1, 0, b'e') + b'\0')

def ace(kind, body, packed=0, data=b''):
    rest = bytes([kind]) + b'\0\0' + (struct.pack('<I', packed) if kind == 1 else b'') + body
    return struct.pack('<HH', 0, len(rest)) + rest + data

def ace_file(name, packed, unpacked, attributes, data=b''):
    return ace(1, struct.pack('<I', unpacked) + dos + struct.pack('<I', attributes) + b'\0' * 10 +
               struct.pack('<H', len(name)) + name, packed, data)

open(seeds + '/ace/members.ace', 'wb').write(
    ace(0, b'**ACE**' + b'\0' * 10) + ace_file(b'd\\f.txt', 3, 8, 0x20, b'fff') + ace_file(b'd/sub', 0, 0, 0x10))

def ha(method, path, name, packed, unpacked, data=b''):
    return bytes([0x20 | method]) + struct.pack('<III', packed, unpacked, 0) + dos + path + b'\0' + name + b'\0' + \
        b'\x02ux' + data

open(seeds + '/ha/members.ha', 'wb').write(
    b'HA' + struct.pack('<H', 2) + ha(2, b'a\xffb\xff', b'c', 2, 4, b'cc') + ha(14, b'a', b'd', 0, 0))
open(seeds + '/ha/empty.ha', 'wb').write(b'HA\0\0')
PY
echo "seeds made in $seeds"
