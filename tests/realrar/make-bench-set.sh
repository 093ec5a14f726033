#!/usr/bin/env bash
# Makes the RAR volume set that the RAR benchmark extracts (tests/bench/rar_bench.cpp)
# with the real `rar` tool, once; later runs find it and return at once:
#
#   make-bench-set.sh BUILD_DIR
#
# BUILD_DIR/realrar/bench/big.part1.rar … big.part3.rar: stored (-m0), so that
# the library's own decoding does not hide the program's cost; 256 MiB of
# random bytes in three files of 64 MiB and 256 files of 256 KiB, the small
# ones to show what every entry costs. The files it was made from are deleted
# (the set itself takes 256 MiB). Without the rar tool (TOLVA_REAL_RAR off) it
# says so and makes nothing; the benchmark then skips the RAR figures.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
rar=$build/realrar/rar/usr/bin/rar
out=$build/realrar/bench

[ -f "$out/ready" ] && exit 0
if [ ! -x "$rar" ]; then
  echo "make-bench-set: no rar tool at $rar (build the tolva_realrar target): no RAR benchmark"
  exit 0
fi

fail() {
  echo "make-bench-set: FAILED: $*" >&2
  rm -rf "$out"
  exit 1
}

echo "make-bench-set: making a stored 256 MiB volume set in $out"
rm -rf "$out"
mkdir -p "$out/content/small"
cd "$out/content"
for n in 1 2 3; do head -c 64M /dev/urandom > "big$n.bin" || fail "big$n.bin"; done
for n in $(seq -w 1 256); do head -c 256K /dev/urandom > "small/$n.bin" || fail "small/$n.bin"; done
# Volumes of 100 000 000 bytes: three of them.
"$rar" a -cfg- -idq -y -ma5 -m0 -v100000000b ../big.rar big1.bin big2.bin big3.bin small || fail "rar"
cd "$out"
rm -rf content
for n in 1 2 3; do [ -f "big.part$n.rar" ] || fail "rar made no big.part$n.rar"; done
touch ready
