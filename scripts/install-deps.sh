#!/usr/bin/env bash
# Installs what building and testing Tolva needs on a Debian bookworm machine,
# and nothing that is already there. Safe to run again and again.
set -euo pipefail

packages=(g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 wine64
          xvfb xauth locales fonts-ipafont-gothic imagemagick googletest zip dpkg-dev
          cmake make clang-14 libclang-rt-14-dev llvm-14)

sudo_cmd=()
if [ "$(id -u)" != 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  # The i386 index of the security suite sometimes fails to download; the
  # packages we need come from the main suite, so a partial update is fine.
  "${sudo_cmd[@]}" apt-get update || true
  # -t bookworm keeps the amd64 and i386 builds of shared libraries in step;
  # without it apt mixes suites and refuses wine32.
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -t bookworm \
    --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  echo "install-deps: generating the ja_JP.UTF-8 locale"
  "${sudo_cmd[@]}" sed -i 's/^# *ja_JP.UTF-8/ja_JP.UTF-8/' /etc/locale.gen
  "${sudo_cmd[@]}" locale-gen
fi
