#!/usr/bin/env bash
# Cross-compiles quipstream.exe (and the Windows-side test programs) with MinGW-w64.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/win64}
cmake -S "$root" -B "$out" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$out" -j2
