#!/usr/bin/env bash
# One entry point for newcomers and CI on a fresh Debian machine:
#   ./run.sh demo   installs what is missing, builds, and projects sample points of real systems
#   ./run.sh test   installs what is missing, builds with warnings as errors, and runs every test
#   ./run.sh asan   the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer
#   ./run.sh bench  builds the benchmarks and prints the speed report beside PROJ
#   ./run.sh bench-cli  times the command-line host beside cs2cs on a million points
#   ./run.sh bench-python  the Python package beside pyproj, and on Dask with 1 and 2 workers
#   ./run.sh windows  cross-builds geoxform.dll with MinGW-w64 and runs the tests under Wine
#   ./run.sh fuzz [TARGET] [SECONDS]  runs the libFuzzer targets of tests/fuzz (all, 30 s each)
#   ./run.sh tsan   the threaded tests built with ThreadSanitizer
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ pkg-config python3 zlib1g-dev libgtest-dev libgmock-dev
          libbenchmark-dev libpolyclipping-dev libsleef-dev libproj-dev proj-data locales
          python3-numpy python3-pandas python3-dask python3-distributed python3-pytest
          python3-pyproj)

install_missing() { # extra apt-get options...
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$@" "${missing[@]}"
}

# clang with its sanitizer and libFuzzer runtimes, and the symbolizer for readable reports.
fuzz_packages=(clang libclang-rt-dev llvm)

windows_packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64
                  libz-mingw-w64-dev dpkg-dev)

# Source entries beside the machine's own Debian package entries: the same URIs, suites,
# components and keys, with the type deb-src (deb822 files and one-line lists alike).
deb_src_sources() {
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && [ "${f##*/}" != geoxform-deb-src.sources ] || continue
        grep -q debian-archive-keyring "$f" || continue
        sed 's/^Types:.*/Types: deb-src/' "$f"
        echo
    done
}
deb_src_list() {
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
        grep -E '^deb [^#]*debian' | grep -v 'geoxform' | sed 's/^deb /deb-src /' || true
}

# Clipper is packaged for the build machine only: its Debian source package, unpacked into
# the build tree (never committed), is compiled into the Windows library.
clipper_source() {
    local dir=build-win/clipper-source
    if [ ! -f "$dir"/libpolyclipping-*/cpp/clipper.cpp ]; then
        if ! apt-get source --print-uris libpolyclipping >/dev/null 2>&1; then
            local sudo=""
            [ "$(id -u)" -ne 0 ] && sudo="sudo"
            deb_src_sources | $sudo tee /etc/apt/sources.list.d/geoxform-deb-src.sources >/dev/null
            deb_src_list | $sudo tee /etc/apt/sources.list.d/geoxform-deb-src.list >/dev/null
            $sudo apt-get update -qq
        fi
        mkdir -p "$dir"
        (cd "$dir" && apt-get source -qq libpolyclipping >/dev/null 2>&1)
    fi
    echo "$(cd "$dir"/libpolyclipping-*/cpp && pwd)"
}

# A locale with a decimal comma, so that the tests of locale-independent number text run.
comma_locale() {
    locale -a 2>/dev/null | grep -qi '^de_DE.utf-\?8$' && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo localedef -i de_DE -c -f UTF-8 de_DE.UTF-8 || true
}

build() { # build directory, extra CMake options...
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir"
}

case "${1:-}" in
demo)
    install_missing --no-install-recommends
    # Only what the demo runs; the tests stay configured in the same tree for "./run.sh test".
    cmake -S . -B build -G Ninja >/dev/null
    cmake --build build --target geoxform_cli geoxform_example
    tools/demo.sh build/bin
    ;;
bench-cli)
    install_missing --no-install-recommends
    cmake -S . -B build -G Ninja >/dev/null
    cmake --build build --target geoxform_cli
    bench/cli_vs_cs2cs.sh build/bin
    ;;
bench-python)
    install_missing --no-install-recommends
    build build-bench -DGEOXFORM_BENCH=ON -DGEOXFORM_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
    GEOXFORM_LIBRARY="$PWD/build-bench/bin/libgeoxform.so" /usr/bin/python3 bench/python_vs_pyproj.py
    ;;
test)
    install_missing --no-install-recommends
    comma_locale
    build build -DGEOXFORM_WERROR=ON
    ctest --test-dir build --output-on-failure -j"$(nproc)"
    ;;
asan)
    install_missing --no-install-recommends
    comma_locale
    build build-asan -DGEOXFORM_WERROR=ON -DGEOXFORM_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
    ;;
bench)
    install_missing --no-install-recommends
    build build-bench -DGEOXFORM_BENCH=ON -DGEOXFORM_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
    build-bench/bin/bench_report
    ;;
windows)
    packages+=("${windows_packages[@]}")
    install_missing # Wine with the packages it recommends, as it was measured to work
    clipper=$(clipper_source)
    # Wine headless in a scratch prefix, from the build on (the test listing runs the test
    # programs); LC_ALL=C.UTF-8 gives code page 1252 and lets Wine store file names outside ASCII.
    export WINEDEBUG=-all LC_ALL=C.UTF-8 WINEPREFIX="$PWD/build-win/wineprefix" HOME="$PWD/build-win/winehome"
    mkdir -p "$HOME"
    wineboot -u >/dev/null 2>&1 || true
    build build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DGEOXFORM_WERROR=ON \
        -DGEOXFORM_CLIPPER_SOURCE="$clipper"
    ctest --test-dir build-win --output-on-failure --timeout 300 -j"$(nproc)"
    wineserver -k || true
    ;;
fuzz)
    packages+=("${fuzz_packages[@]}")
    install_missing --no-install-recommends
    targets=("${2:-}")
    [ -n "${2:-}" ] || targets=($(ls tests/fuzz/corpus))
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DGEOXFORM_FUZZ=ON -DGEOXFORM_WERROR=ON \
        -DGEOXFORM_TESTS=OFF -DGEOXFORM_TOOLS=OFF >/dev/null
    cmake --build build-fuzz --target "${targets[@]/#/fuzz_}"
    # New inputs go to build-fuzz/corpus, findings to build-fuzz/findings, the whole output to
    # build-fuzz/TARGET.log. A smaller quarantine than ASan's default keeps the targets that
    # allocate much from waiting on page faults.
    failed=()
    for t in "${targets[@]}"; do
        mkdir -p "build-fuzz/corpus/$t" build-fuzz/findings
        quiet=()
        [ "$t" = cli ] && quiet=(-close_fd_mask=3) # the host's own output and messages
        ASAN_OPTIONS=quarantine_size_mb=16 "build-fuzz/fuzz/fuzz_$t" -max_total_time="${3:-30}" \
            -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 "${quiet[@]}" \
            -artifact_prefix="build-fuzz/findings/$t-" "build-fuzz/corpus/$t" "tests/fuzz/corpus/$t" \
            >"build-fuzz/$t.log" 2>&1 || failed+=("$t")
        grep -Ev '^#[0-9]+.*(NEW|REDUCE|pulse)' "build-fuzz/$t.log" || true
    done
    [ ${#failed[@]} -eq 0 ] || { echo "fuzz: findings in ${failed[*]} (build-fuzz/findings)"; exit 1; }
    ;;
tsan)
    install_missing --no-install-recommends
    cmake -S . -B build-tsan -G Ninja -DGEOXFORM_TSAN=ON -DGEOXFORM_WERROR=ON -DGEOXFORM_TOOLS=OFF \
        >/dev/null
    cmake --build build-tsan --target geoxform_tests
    TSAN_OPTIONS=halt_on_error=1 build-tsan/bin/geoxform_tests \
        --gtest_filter='ThreadHandler.*:ActiveCoordSystem.*:Threaded.*'
    ;;
*)
    sed -n '2,11p' "$0"
    exit 2
    ;;
esac
