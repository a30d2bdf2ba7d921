#!/bin/sh
# Runs every test: the C++ core (GoogleTest through ctest), then the module (pytest).
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
BIN=.venv/bin
$BIN/cmake -S . -B build/cpp -G Ninja -DCMAKE_MAKE_PROGRAM="$(pwd)/$BIN/ninja" \
  -DQUORVEL_BUILD_TESTS=ON -DQUORVEL_BUILD_PYTHON=OFF >/dev/null
$BIN/cmake --build build/cpp
$BIN/ctest --test-dir build/cpp --output-on-failure -j2
$BIN/python -m pytest -q python/tests "$@"
