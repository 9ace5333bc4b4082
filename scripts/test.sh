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

echo "== Fuzzing the text rules (libFuzzer, bounded time)"
cmake -S "$root" -B "$build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DQUORREL_FUZZ=ON >/dev/null
cmake --build "$build/fuzz" -j "$jobs" --target fuzz_text_rules fuzz_plugin_rules
for target in text_rules plugin_rules; do
  corpus="$build/fuzz/corpus-$target"
  mkdir -p "$corpus"
  cp "$root"/demo/searchplugins/*.src "$root"/tests/data/plugins/* "$corpus"/ 2>/dev/null || true
  "$build/fuzz/tests/fuzz/fuzz_$target" -max_total_time="${QUORREL_FUZZ_SECONDS:-30}" \
      -artifact_prefix="$build/fuzz/" "$corpus" 2>"$build/fuzz/fuzz_$target.log" \
    || { tail -n 40 "$build/fuzz/fuzz_$target.log"; echo "fuzz_$target found a fault"; exit 1; }
  echo "fuzz_$target: $(grep -o 'Done [0-9]* runs' "$build/fuzz/fuzz_$target.log")"
done

echo "== Windows build under Wine"
cmake -S "$root" -B "$build/win" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
      -DQUORREL_TEST_DISPLAY="$display" >/dev/null
cmake --build "$build/win" -j "$jobs"
ctest --test-dir "$build/win" --output-on-failure -j "$jobs"
