#!/usr/bin/env bash
# Makes real RAR archives for the tests with the real `rar` tool (7.01, which
# writes the RAR 5 format only), fresh on every run:
#
#   make-archives.sh BUILD_DIR
#
# The tool is BUILD_DIR/realrar/rar/usr/bin/rar (get-real-rar.sh unpacks it).
# Everything goes to BUILD_DIR/realrar/archives/ (well under 1 MB):
#
#   content/                  the files the archives hold, to compare against:
#     readme.txt                2 400 bytes of numbered lines (compresses well)
#     表.txt                    14 bytes; its name's second byte in code page 932 is 0x5C
#     data/one.bin              24 000 bytes of pseudo-random data (incompressible)
#     data/two.bin              26 000 bytes of pseudo-random data
#     secret.txt                24 bytes of text
#   stored.rar                readme.txt, data/one.bin; stored (-m0)
#   compressed.rar            readme.txt, 表.txt; best compression (-m5)
#   set.part1.rar … set.part3.rar
#                             data/one.bin, data/two.bin; stored, volumes of
#                             20 KiB (-v20k): three volumes, the entries span them
#   encrypted.rar             readme.txt unencrypted, then secret.txt encrypted
#                             with the password "tolva-entry" (-p)
#   headers.rar               secret.txt, file data and headers encrypted with
#                             the password "tolva-header" (-hp)
#   locked.part1.rar … locked.part3.rar
#                             the volumes of set.partN.rar, file data and
#                             headers encrypted with "tolva-header" (-hp)
#   trunc.rar                 the first 2000 bytes of set.part1.rar
#   gap.part1.rar, gap.part3.rar
#                             set.part1.rar and set.part3.rar under another
#                             name: a set whose middle volume is missing (RAR 5
#                             volumes do not record their own file names)
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
rar=$build/realrar/rar/usr/bin/rar
out=$build/realrar/archives

fail() {
  echo "make-archives: FAILED: $*" >&2
  exit 1
}
[ -x "$rar" ] || fail "$rar is missing: build the tolva_realrar target (tests/realrar/get-real-rar.sh) first"

# Pseudo-random bytes 1 to 255 from a fixed seed: the same data on every run,
# and nothing a compressor can shrink.
noise() {  # seed count
  LC_ALL=C awk -v seed="$1" -v n="$2" 'BEGIN { srand(seed); for (i = 0; i < n; i++) printf "%c", 1 + int(rand() * 255) }'
}

# -cfg- keeps the caller's RAR variable and .rarrc out; -idq keeps it quiet.
rar_add() { "$rar" a -cfg- -idq -y -ma5 "$@"; }

rm -rf "$out"
mkdir -p "$out/content/data"
cd "$out/content"

for i in $(seq 1 80); do printf 'Tolva test archive, line %03d.\n' "$i"; done > readme.txt
printf 'table of kind\n' > '表.txt'
noise 1 24000 > data/one.bin
noise 2 26000 > data/two.bin
printf 'the encrypted entry\n!!!\n' > secret.txt

# Names inside the archives are stored as UTF-8 whatever the locale says; the
# tool reads the names given here in the locale's encoding.
export LC_ALL=C.UTF-8

rar_add -m0 ../stored.rar readme.txt data/one.bin || fail "stored.rar"
rar_add -m5 ../compressed.rar readme.txt '表.txt' || fail "compressed.rar"
rar_add -m0 -v20k ../set.rar data/one.bin data/two.bin || fail "the set.partN.rar volumes"
rar_add -m0 ../encrypted.rar readme.txt || fail "encrypted.rar"
rar_add -m0 -ptolva-entry ../encrypted.rar secret.txt || fail "encrypted.rar (encrypted entry)"
rar_add -m0 -hptolva-header ../headers.rar secret.txt || fail "headers.rar"
rar_add -m0 -v20k -hptolva-header ../locked.rar data/one.bin data/two.bin || fail "the locked.partN.rar volumes"

cd "$out"
for n in 1 2 3; do [ -f "set.part$n.rar" ] || fail "rar made no set.part$n.rar"; done
for n in 1 2 3; do [ -f "locked.part$n.rar" ] || fail "rar made no locked.part$n.rar"; done
[ ! -e set.part4.rar ] || fail "rar made more than three volumes"
head -c 2000 set.part1.rar > trunc.rar
cp set.part1.rar gap.part1.rar
cp set.part3.rar gap.part3.rar
echo "make-archives: $(ls "$out"/*.rar | wc -l) archives in $out ($(du -sk "$out" | cut -f1) KB)"
