#!/usr/bin/env bash
# Configures and builds one or more of the build folders under build/:
#   win     Mivra.exe (build/win/Mivra.exe), the Windows tests and benchmarks (mingw-w64)
#   native  src/core and its unit tests with AddressSanitizer and UBSan (g++)
#   fuzz    src/core and the libFuzzer targets (clang)
# Usage: scripts/build.sh [win] [native] [fuzz]   (default: win)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MIVRA_BUILD:-$root/build}

configure() {
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] || cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
}

for kind in "${@:-win}"; do
  case $kind in
    win)    configure "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release ;;
    native) configure "$build/native" -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc -DCMAKE_BUILD_TYPE=Debug ;;
    fuzz)   configure "$build/fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
              -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIVRA_FUZZ=ON -DBUILD_TESTING=OFF ;;
    *) echo "build.sh: unknown build '$kind'" >&2; exit 2 ;;
  esac
  echo "build: $kind"
  cmake --build "$build/$kind"
done
