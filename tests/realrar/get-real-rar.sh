#!/usr/bin/env bash
# Gets the real RAR library and the real `rar` tool for the tests, inside the
# build tree only: nothing is installed on the machine and its package sources
# stay untouched.
#
#   get-real-rar.sh BUILD_DIR
#
# Makes, under BUILD_DIR/realrar/:
#   apt/           private apt state: its sources file (the package lists are
#                  dropped after the downloads)
#   downloads/     the unrar-nonfree source package and the rar .deb
#   src/           the library's source, unpacked with Debian's patches
#   rar/           the rar package unpacked (dpkg -x): rar/usr/bin/rar
#   obj/           objects of the library
#   unrar.dll      the library, 32-bit, built with the posix MinGW compiler
#
# Every step is skipped when its output is already there, so running it again
# costs nothing. Both packages are in Debian's non-free component, which the
# machine's own sources need not name; the private sources file names it.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
mkdir -p "$1"
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
out=$build/realrar
apt_dir=$out/apt
downloads=$out/downloads
cxx=${TOLVA_REALRAR_CXX:-i686-w64-mingw32-g++-posix}

fail() {
  echo "get-real-rar: FAILED: $*" >&2
  exit 1
}
say() { echo "get-real-rar: $*"; }

mkdir -p "$out"
# One run at a time: the build target and a hand-run test may start together.
exec 9>"$out/.lock"
flock 9

rar_tool=$out/rar/usr/bin/rar
dll=$out/unrar.dll
if [ -x "$rar_tool" ] && [ -f "$dll" ]; then
  exit 0
fi

# --- Downloads -------------------------------------------------------------

# The mirror the machine already uses for bookworm (deb822 or one-line form).
debian_mirror() {
  if [ -n "${TOLVA_DEBIAN_MIRROR:-}" ]; then
    echo "$TOLVA_DEBIAN_MIRROR"
    return
  fi
  local uri=""
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    uri=$(awk 'BEGIN { RS = ""; FS = "\n" }
      {
        uris = ""; suites = ""
        for (i = 1; i <= NF; i++) {
          if ($i ~ /^URIs:/) { uris = $i; sub(/^URIs:[ \t]*/, "", uris) }
          if ($i ~ /^Suites:/) { suites = " " $i " " }
        }
        if (uris != "" && suites ~ /[ \t]bookworm[ \t]/) { split(uris, u, /[ \t]+/); print u[1]; exit }
      }' /etc/apt/sources.list.d/debian.sources)
  fi
  if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
    uri=$(awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }' /etc/apt/sources.list)
  fi
  echo "${uri:-http://deb.debian.org/debian}"
}

apt_options=(
  -o "Dir::Etc::sourcelist=/dev/null"
  -o "Dir::Etc::sourceparts=$apt_dir/sources.d"
  -o "Dir::State::lists=$apt_dir/lists"
  -o "Dir::Cache=$apt_dir/cache"
  -o "Acquire::Languages=none"
)
# As root apt hands downloads to its own user, who may not write into the
# build tree; downloading as the caller is fine for two packages.
if [ "$(id -u)" = 0 ]; then apt_options+=(-o "APT::Sandbox::User=root"); fi

apt_updated=""
apt_update() {
  [ -n "$apt_updated" ] && return
  local mirror
  mirror=$(debian_mirror)
  say "package lists of bookworm main and non-free from $mirror"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.d"
  cat > "$apt_dir/sources.d/tolva-realrar.sources" <<EOF
Types: deb deb-src
URIs: $mirror
Suites: bookworm
Components: main non-free
Architectures: $(dpkg --print-architecture)
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  [ -f /usr/share/keyrings/debian-archive-keyring.gpg ] || fail "the Debian archive keyring is missing (package debian-archive-keyring)"
  apt-get "${apt_options[@]}" update -q --error-on=any || fail "apt-get update with the private sources file ($mirror)"
  apt_updated=1
}

mkdir -p "$downloads"
dsc=$(ls "$downloads"/unrar-nonfree_*.dsc 2>/dev/null | head -n 1 || true)
if [ -z "$dsc" ]; then
  apt_update
  say "downloading the source of unrar-nonfree"
  (cd "$downloads" && apt-get "${apt_options[@]}" source --download-only -q unrar-nonfree) \
    || fail "apt-get source --download-only unrar-nonfree"
  dsc=$(ls "$downloads"/unrar-nonfree_*.dsc 2>/dev/null | head -n 1 || true)
  [ -n "$dsc" ] || fail "no unrar-nonfree .dsc after the download"
fi

deb=$(ls "$downloads"/rar_*.deb 2>/dev/null | head -n 1 || true)
if [ -z "$deb" ]; then
  apt_update
  say "downloading the rar package"
  (cd "$downloads" && apt-get "${apt_options[@]}" download -q rar) || fail "apt-get download rar"
  deb=$(ls "$downloads"/rar_*.deb 2>/dev/null | head -n 1 || true)
  [ -n "$deb" ] || fail "no rar .deb after the download"
fi

# The lists served only these two downloads (about 40 MB); they are fetched
# again if a download is ever missing.
rm -rf "$apt_dir/lists" "$apt_dir/cache"

# --- Unpacking -------------------------------------------------------------

if [ ! -x "$rar_tool" ]; then
  say "unpacking $(basename "$deb")"
  rm -rf "$out/rar.tmp"
  dpkg -x "$deb" "$out/rar.tmp" || fail "dpkg -x $deb"
  [ -x "$out/rar.tmp/usr/bin/rar" ] || fail "the rar package holds no usr/bin/rar"
  rm -rf "$out/rar"
  mv "$out/rar.tmp" "$out/rar"
fi

src=$out/src
if [ ! -f "$src/dll.def" ]; then
  command -v dpkg-source >/dev/null || fail "dpkg-source is missing (package dpkg-dev; scripts/install-deps.sh installs it)"
  say "unpacking $(basename "$dsc")"
  # Objects of another unpacking of the source are not this one's.
  rm -rf "$src" "$out/src.tmp" "$out/obj"
  # apt checked the files against the signed index; dpkg-source's own check of
  # the maintainer's signature has no keyring here and only says so.
  dpkg-source -q --no-copy -x "$dsc" "$out/src.tmp" >"$out/dpkg-source.log" 2>&1 \
    || { cat "$out/dpkg-source.log" >&2; fail "dpkg-source -x $dsc"; }
  mv "$out/src.tmp" "$src"
fi

# --- Building unrar.dll ----------------------------------------------------

if [ ! -f "$dll" ]; then
  command -v "$cxx" >/dev/null || fail "the compiler $cxx is missing (scripts/install-deps.sh installs it)"
  # The source files the library's own Windows project compiles.
  mapfile -t sources < <(grep -o 'ClCompile Include="[^"]*\.cpp"' "$src/UnRARDll.vcxproj" \
                         | sed 's/^ClCompile Include="//; s/"$//' | sort -u)
  [ ${#sources[@]} -gt 0 ] || fail "no source files listed in $src/UnRARDll.vcxproj"
  # The defines of that project (its character set setting is overridden by
  # the source itself, which always defines UNICODE on Windows).
  flags=(-O2 -DRARDLL -DUNRAR -DSILENT -DUNICODE -D_UNICODE -w -I"$here/mingw")
  mkdir -p "$out/obj"
  started=$(date +%s)
  # Pairs of source and object, compiled two at a time; an object that is
  # already there (an earlier run stopped half-way) is kept.
  objects=()
  pairs=()
  for s in "${sources[@]}" "$here/mingw/comsupp.cpp"; do
    case $s in
      /*) o=$out/obj/$(basename "${s%.cpp}").o ;;
      *) o=$out/obj/${s%.cpp}.o; s=$src/$s ;;
    esac
    objects+=("$o")
    [ -f "$o" ] || pairs+=("$s" "$o")
  done
  if [ ${#pairs[@]} -gt 0 ]; then
    say "compiling $(( ${#pairs[@]} / 2 )) files of the library with $cxx"
    printf '%s\n' "${pairs[@]}" \
      | CXX=$cxx xargs -d '\n' -n 2 -P "${TOLVA_REALRAR_JOBS:-2}" bash -c '
          in=${@:$#-1:1} obj=${!#}
          "$CXX" "${@:1:$#-2}" -c "$in" -o "$obj.tmp" && mv "$obj.tmp" "$obj"' compile "${flags[@]}" \
      || fail "compiling the library (see the compiler messages above)"
  fi
  say "linking unrar.dll"
  "$cxx" -shared -static -o "$dll.tmp" "${objects[@]}" "$src/dll.def" -Wl,--kill-at -Wl,--enable-stdcall-fixup \
    -lpowrprof -lole32 -loleaut32 -lwbemuuid -lshlwapi -lshell32 -luuid \
    || fail "linking unrar.dll"
  mv "$dll.tmp" "$dll"
  say "built $dll in $(( $(date +%s) - started )) s"
fi
