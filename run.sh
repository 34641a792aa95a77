#!/usr/bin/env bash
# One entry point for newcomers and CI on a fresh Debian machine:
#   ./run.sh demo   installs what is missing, builds, and converts sample points on the shipped data
#   ./run.sh test   installs what is missing, builds with warnings as errors, and runs every test
#   ./run.sh asan   the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer
#   ./run.sh bench  builds and runs the benchmarks beside PROJ
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ pkg-config python3 zlib1g-dev libgtest-dev libgmock-dev
          libbenchmark-dev libpolyclipping-dev libproj-dev proj-data)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() { # build directory, extra CMake options...
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir"
}

case "${1:-}" in
demo)
    install_missing
    build build -DGEOXFORM_TESTS=OFF
    ./build/bin/geoxform_demo
    ;;
test)
    install_missing
    build build -DGEOXFORM_WERROR=ON
    ctest --test-dir build --output-on-failure -j"$(nproc)"
    ;;
asan)
    install_missing
    build build-asan -DGEOXFORM_WERROR=ON -DGEOXFORM_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
    ;;
bench)
    install_missing
    build build-bench -DGEOXFORM_BENCH=ON -DGEOXFORM_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
    for b in build-bench/bin/bench_*; do "$b"; done
    ;;
*)
    sed -n '2,6p' "$0"
    exit 2
    ;;
esac
