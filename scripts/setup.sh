#!/bin/sh
# Sets up everything the project needs, skipping what is already there:
#   - system libraries (oneTBB, GoogleTest, a C++ compiler) from this release
#   - a free-threaded CPython: $QUORVEL_PYTHON, else python3.14t on PATH,
#     else CPython 3.13t built once into a cache folder outside the repo
#   - the virtual environment .venv with the build and test tools
#   - the quorvel package itself, built incrementally and installed in .venv
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
CACHE=${QUORVEL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quorvel}
START=$(date +%s)

log() { printf '[setup] %s\n' "$*"; }
die() { printf '[setup] error: %s\n' "$*" >&2; exit 1; }
as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

free_threaded() {
  [ -n "$1" ] && "$1" -c 'import sys, sysconfig; assert sysconfig.get_config_var("Py_GIL_DISABLED") == 1' >/dev/null 2>&1
}

# 1. System packages.
codename=$(. /etc/os-release && printf '%s' "${VERSION_CODENAME:-}")
missing=
for p in build-essential libtbb-dev libgtest-dev; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing="$missing $p"
done
if [ -n "$missing" ]; then
  log "installing system packages:$missing"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get -q -o DPkg::Lock::Timeout=600 update >/dev/null 2>&1 ||
    as_root apt-get -q -o Acquire::Check-Valid-Until=false update >/dev/null
  as_root apt-get -q -o DPkg::Lock::Timeout=600 install -y --no-install-recommends ${codename:+-t "$codename"} $missing >/dev/null
fi

# 2. The interpreter.
PY=${QUORVEL_PYTHON:-}
if [ -n "$PY" ]; then
  free_threaded "$PY" || die "QUORVEL_PYTHON=$PY is not a free-threaded CPython"
elif free_threaded "$(command -v python3.14t 2>/dev/null || true)"; then
  PY=$(command -v python3.14t)
else
  sh scripts/build_python.sh "$CACHE/python3.13t" 3.13
  PY=$CACHE/python3.13t/bin/python3.13t
fi

# 3. The virtual environment (rebuilt if it was made from another interpreter).
want=$("$PY" -c 'import sys; print(sys.version)')
if [ ! -x .venv/bin/python ] || [ "$(.venv/bin/python -c 'import sys; print(sys.version)' 2>/dev/null)" != "$want" ]; then
  log "creating .venv with $PY"
  rm -rf .venv
  "$PY" -m venv .venv
fi
stamp=.venv/.quorvel-requirements
if ! cmp -s requirements-dev.txt "$stamp"; then
  log "installing build and test tools into .venv"
  .venv/bin/python -m pip install -q --upgrade pip
  .venv/bin/python -m pip install -q --only-binary=:all: -r requirements-dev.txt
  cp requirements-dev.txt "$stamp"
fi

# 4. The package (incremental: the CMake build tree lives in build/).
log "building and installing quorvel"
.venv/bin/python -m pip install -q --no-build-isolation --no-deps . ||
  die "building the package failed"
.venv/bin/python -c 'import sys, quorvel._engine; assert not sys._is_gil_enabled(), "the engine enabled the GIL"'
log "ready in $(( $(date +%s) - START ))s ($(.venv/bin/python -c 'import sys; print(sys.version.split()[0] + "t")'))"
