#!/bin/sh
# build_python.sh PREFIX SERIES
#
# Builds a free-threaded (--disable-gil) CPython SERIES (e.g. 3.13) into
# PREFIX from the upstream tarball carried by Debian's source package
# "pythonSERIES". Only a deb-src entry is ever added to apt (never a binary
# line for another release); the archive address is read from this machine's
# own apt configuration. Idempotent: does nothing when PREFIX already holds a
# working free-threaded interpreter; reuses downloads and the build tree.
set -eu

PREFIX=$1
SERIES=$2
SRC_SUITE=${QUORVEL_SRC_SUITE:-sid}
WORK=${QUORVEL_PYTHON_WORK:-$(dirname "$PREFIX")/python$SERIES-build}
PY=$PREFIX/bin/python${SERIES}t
JOBS=$(nproc 2>/dev/null || echo 2)
APT="apt-get -q -o DPkg::Lock::Timeout=600 -o Acquire::Retries=3"

log() { printf '[setup] %s\n' "$*"; }
die() { printf '[setup] error: %s\n' "$*" >&2; exit 1; }
as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

works() {
  [ -x "$PY" ] && "$PY" -c '
import sys, sysconfig, ssl, zlib, ctypes, bz2, lzma, sqlite3
assert sysconfig.get_config_var("Py_GIL_DISABLED") == 1
assert not sys._is_gil_enabled()' >/dev/null 2>&1
}

if works; then exit 0; fi
log "building free-threaded CPython $SERIES into $PREFIX (takes a few minutes, once per machine)"
mkdir -p "$WORK/dl"
export DEBIAN_FRONTEND=noninteractive

apt_update() {
  as_root $APT update >"$WORK/apt-update.log" 2>&1 && ! grep -q '^E:' "$WORK/apt-update.log" && return 0
  # A development suite's Release file may be past its Valid-Until date.
  as_root $APT -o Acquire::Check-Valid-Until=false update >"$WORK/apt-update.log" 2>&1 ||
    { tail -n 20 "$WORK/apt-update.log" >&2; die "apt-get update failed"; }
}

archive_uri() {
  uri=
  if [ -r /etc/apt/sources.list.d/debian.sources ]; then
    uri=$(awk 'tolower($1) == "uris:" { for (i = 2; i <= NF; i++) if ($i !~ /security/) { print $i; exit } }' \
      /etc/apt/sources.list.d/debian.sources)
  fi
  if [ -z "$uri" ]; then
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [ -r "$f" ] || continue
      uri=$(awk '$1 == "deb" || $1 == "deb-src" {
                   i = 2; if ($i ~ /^\[/) { while (i <= NF && $i !~ /\]$/) i++; i++ }
                   if ($i ~ /^[a-z+]+:\/\// && $i !~ /security/) { print $i; exit } }' "$f")
      [ -n "$uri" ] && break
    done
  fi
  [ -n "$uri" ] || die "cannot find the Debian archive address in the apt configuration"
  printf '%s\n' "${uri%/}"
}

# 1. Build dependencies, from this machine's own release only.
codename=$(. /etc/os-release && printf '%s' "${VERSION_CODENAME:-}")
deps="build-essential pkg-config xz-utils libssl-dev zlib1g-dev libffi-dev libbz2-dev liblzma-dev libsqlite3-dev libreadline-dev libncurses-dev"
missing=
for p in $deps; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing="$missing $p"
done
if [ -n "$missing" ]; then
  log "installing interpreter build dependencies:$missing"
  apt_update
  as_root $APT install -y --no-install-recommends ${codename:+-t "$codename"} $missing >"$WORK/apt-install.log" 2>&1 ||
    { tail -n 20 "$WORK/apt-install.log" >&2; die "installing build dependencies failed"; }
fi

# 2. The upstream tarball, through a deb-src entry.
pkg=python$SERIES
orig() { ls "$WORK/dl/${pkg}_"*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | sort -V | tail -n 1; }
if [ -z "$(orig)" ]; then
  if ! apt-cache showsrc --only-source "$pkg" 2>/dev/null | grep -q "^Package: $pkg\$"; then
    list=/etc/apt/sources.list.d/quorvel-src-$SRC_SUITE.sources
    uri=$(archive_uri)
    log "adding a deb-src entry for $SRC_SUITE in $list"
    {
      echo "Types: deb-src"
      echo "URIs: $uri"
      echo "Suites: $SRC_SUITE"
      echo "Components: main"
      [ -r /usr/share/keyrings/debian-archive-keyring.gpg ] && echo "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"
    } | as_root tee "$list" >/dev/null
    apt_update
  fi
  # The newest listed version is not always downloadable: try each, newest first.
  for v in $(apt-cache showsrc --only-source "$pkg" | awk '/^Version:/ {print $2}' | sort -u -V -r); do
    log "downloading source $pkg=$v"
    (cd "$WORK/dl" && $APT source --download-only "$pkg=$v") >"$WORK/apt-source.log" 2>&1 && [ -n "$(orig)" ] && break
  done
  [ -n "$(orig)" ] || die "could not download any version of the source package $pkg"
fi

# 3. Unpack, configure out of tree, build, install.
src=$WORK/src
if [ ! -f "$src/.unpacked" ]; then
  rm -rf "$src" && mkdir -p "$src"
  tar -xf "$(orig)" -C "$src" --strip-components=1
  touch "$src/.unpacked"
fi
build=$WORK/build
mkdir -p "$build"
if [ ! -f "$build/Makefile" ]; then
  log "configure"
  (cd "$build" && "$src/configure" --prefix="$PREFIX" --disable-gil --with-ensurepip=install --disable-test-modules) \
    >"$build/configure.log" 2>&1 || { tail -n 30 "$build/configure.log" >&2; die "configure failed"; }
fi
log "make -j$JOBS"
make -C "$build" -j"$JOBS" >"$build/make.log" 2>&1 || { tail -n 30 "$build/make.log" >&2; die "make failed"; }
make -C "$build" install >"$build/install.log" 2>&1 || { tail -n 30 "$build/install.log" >&2; die "make install failed"; }
works || die "the interpreter built in $PREFIX is not a working free-threaded build"
log "built $PY"
