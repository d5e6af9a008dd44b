#!/usr/bin/env bash
# Builds everything and runs every test: the Linux unit tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, the Windows adapter tests
# and the end-to-end tests under Wine, and the settings fuzzer for a minute.
# Ends with "N passed, M failed"; exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/scripts/install_deps.sh"

echo "== Windows build (MinGW-w64)"
"$root/scripts/build_windows.sh" "$build/win64"

echo "== Fuzz targets (clang, libFuzzer)"
CC=clang-16 CXX=clang++-16 cmake -S "$root" -B "$build/fuzz" -G Ninja -DQS_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build/fuzz" -j2

echo "== Linux build (ASan + UBSan)"
cmake -S "$root" -B "$build/linux" -G Ninja -DQS_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug \
  -DQS_WINDOWS_BUILD_DIR="$build/win64" -DQS_FUZZ_BUILD_DIR="$build/fuzz" >/dev/null
cmake --build "$build/linux" -j2

echo "== Tests"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
log=$build/ctest.log
set +e
ctest --test-dir "$build/linux" -j2 --output-on-failure 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
set -e

summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
if [ -z "$summary" ]; then
  echo "0 passed, 1 failed"
  exit 1
fi
failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
echo "$((total - failed)) passed, $failed failed"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
