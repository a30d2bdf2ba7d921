#!/bin/sh
# dev_module.sh NAME [pytest args...]
# Builds the extension module in build/dev-NAME and runs pytest against a
# staging copy of the package there, without touching the package installed
# in .venv. For working on the module alongside others.
set -eu
cd "$(dirname "$0")/.."
name=$1; shift
dir=build/dev-$name
BIN=.venv/bin
$BIN/cmake -S . -B "$dir" -G Ninja -DCMAKE_MAKE_PROGRAM="$(pwd)/$BIN/ninja" -DQUORVEL_BUILD_PYTHON=ON \
  -DPython_EXECUTABLE="$(pwd)/$BIN/python" >/dev/null
$BIN/cmake --build "$dir" --target _engine -j2
rm -rf "$dir/stage" && mkdir -p "$dir/stage"
cp -r python/quorvel "$dir/stage/quorvel"
cp "$dir"/python/_engine*.so "$dir/stage/quorvel/"
PYTHONPATH="$(pwd)/$dir/stage" $BIN/python -m pytest -q -p no:cacheprovider "$@"
