#!/bin/sh
# Regenerates the committed archive fixtures of the archive tests. Needs zip,
# gcab and python3 (apt-get install zip gcab python3); lhasa's lha, when
# present, checks the LZH archives. The tests themselves need none of these.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TZ=UTC

font() { printf '\000\001\000\000fake TrueType payload %s\n' "$1"; }
stamp() { find "$1" -exec touch -h -t 200102030405.06 {} +; }

# A ZIP written by Info-ZIP with folders, a lower-case font name and documents.
mkdir -p "$work/zip/FONTS"
font abc > "$work/zip/FONTS/ABC.TTF"
printf 'Read me first.\r\n' > "$work/zip/README.TXT"
stamp "$work/zip"
rm -f "$here/fonts.zip"
(cd "$work/zip" && zip -q -X -D "$here/fonts.zip" FONTS/ABC.TTF README.TXT)

# A ZIP from a Japanese system: CP932 names without the UTF-8 flag.
mkdir -p "$work/sjis"
so=$(printf '\203\134')        # "ソ": its second byte is "\"
bi=$(printf '\203\162')        # "ビ": its second byte is "r"
ko=$(printf '\203\122')        # "コ": its second byte is "R"
font so > "$work/sjis/$so.ttf"
font bi > "$work/sjis/$bi.ttf"
font ko > "$work/sjis/$ko.ttf"
stamp "$work/sjis"
rm -f "$here/cp932.zip"
(cd "$work/sjis" && LC_ALL=C zip -q -X -D "$here/cp932.zip" "$so.ttf" "$bi.ttf" "$ko.ttf")

# A CAB with a member in a folder.
mkdir -p "$work/cab/sub"
font cab > "$work/cab/sub/font.ttf"
printf 'Read me first.\r\n' > "$work/cab/README.TXT"
stamp "$work/cab"
rm -f "$here/fonts.cab"
(cd "$work/cab" && gcab -c "$here/fonts.cab" sub/font.ttf README.TXT)

# A CAB from a Japanese system: CP932 names without the UTF-8 attribute, which
# gcab always sets, so it is cleared afterwards.
mkdir -p "$work/sjiscab"
font so > "$work/sjiscab/$so.ttf"
stamp "$work/sjiscab"
rm -f "$here/cp932.cab"
(cd "$work/sjiscab" && gcab -c "$here/cp932.cab" "$so.ttf")
python3 - "$here/cp932.cab" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
at = struct.unpack_from("<I", data, 16)[0]  # coffFiles
for _ in range(struct.unpack_from("<H", data, 28)[0]):  # cFiles
    data[at + 14] &= ~0x80  # attribs: _A_NAME_IS_UTF
    at = data.index(b"\0", at + 16) + 1
open(sys.argv[1], "wb").write(data)
PY

# LZH archives: no LZH writer is packaged, so a small script writes them.
python3 "$here/make-lzh.py" "$here"
if command -v lha >/dev/null; then
  lha t "$here/fonts.lzh" >/dev/null
  lha t "$here/hostile.lzh" >/dev/null
fi

# Two fonts the reader names, F0.TTF and F1.TTF, in an LZH and a CAB.
mkdir -p "$work/named"
python3 "$here/make-lzh.py" --fonts 2 "$here/named.lzh" "$work/named"
stamp "$work/named"
rm -f "$here/named.cab"
(cd "$work/named" && gcab -c "$here/named.cab" F0.TTF F1.TTF)

# Self-extracting archives: an executable stub followed by the archive.
stub="$work/stub.bin"
{ printf 'MZ'; head -c 1022 /dev/zero; } > "$stub"
cat "$stub" "$here/fonts.zip" > "$here/sfxzip.exe"
zip -q -A "$here/sfxzip.exe"
cat "$stub" "$here/fonts.cab" > "$here/sfxcab.exe"
cat "$stub" "$here/fonts.lzh" > "$here/sfxlzh.exe"
cat "$stub" "$here/named.lzh" > "$here/namedlzh.exe"
cat "$stub" "$here/named.cab" > "$here/namedcab.exe"
cp "$stub" "$here/plain.exe"
