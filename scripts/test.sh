#!/usr/bin/env bash
# Builds Quorrel and runs every test: the portable rules natively (with sanitizers), then the
# Windows build under Wine on a headless display (toolkit, catalogue, shell, end-to-end).
# Exits non-zero on any failure. Environment: QUORREL_BUILD_DIR (default ./build),
# QUORREL_TEST_DISPLAY (default :97) to keep parallel runs apart.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORREL_BUILD_DIR:-$root/build}
display=${QUORREL_TEST_DISPLAY:-:97}
jobs=$(nproc)

bash "$root/scripts/setup-debian.sh"

echo "== Native build: portable rules with sanitizers"
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug -DQUORREL_SANITIZE=ON >/dev/null
cmake --build "$build/native" -j "$jobs"
ctest --test-dir "$build/native" --output-on-failure -j "$jobs"

echo "== Windows build under Wine"
cmake -S "$root" -B "$build/win" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
      -DQUORREL_TEST_DISPLAY="$display" >/dev/null
cmake --build "$build/win" -j "$jobs"
ctest --test-dir "$build/win" --output-on-failure -j "$jobs"
