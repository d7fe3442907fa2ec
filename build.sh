#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine: installs what is missing,
# configures, builds, then runs the chosen job.
#   ./build.sh demo    convert the bundled example into out/ and show the log
#   ./build.sh test    build and run every test
#   ./build.sh bench   build and run the benchmarks (see bench/run.sh)
#   ./build.sh windows cross-build the Windows programs and tests, run the
#                      tests under Wine and pack dist/orvantis-<version>-win64.zip
#   ./build.sh docs    the README's pictures: docs/window.png (the window under
#                      Wine and Xvfb) and docs/preview.png (the example's trim)
#   ./build.sh fuzz S  build the fuzz targets with clang and run each for S seconds
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)

JOBS=${JOBS:-$(nproc)}
BUILD=${BUILD:-build}
PACKAGES=(cmake ninja-build g++ libgtest-dev libgmock-dev)

sudo_if_needed() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo_if_needed apt-get update -q
    sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
  fi
}

build() {
  install_missing "${PACKAGES[@]}"
  if [ ! -f "$BUILD/build.ninja" ]; then
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANTIS_WERROR=ON
  fi
  cmake --build "$BUILD" -j "$JOBS"
}

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer,
# in a folder of its own; any report fails the run. -O1 keeps the extra build
# short; warnings are already errors in the main build.
sanitized_tests() {
  if [ ! -f "$BUILD-asan/build.ninja" ]; then
    cmake -S . -B "$BUILD-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
      -DORVANTIS_SANITIZE=ON
  fi
  cmake --build "$BUILD-asan" -j "$JOBS"
  # allocator_may_return_null: a request too large for memory throws
  # std::bad_alloc as it does without the sanitizer, so the code's own
  # handling of it is what gets tested.
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir "$BUILD-asan" --output-on-failure -j "$JOBS"
}

WIN_BUILD=${WIN_BUILD:-build-win}
WIN_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 googletest xvfb xdotool)

# Wine in a prefix of its own under the build folder, quiet and headless.
wine_run() {
  local wine=wine
  command -v wine >/dev/null || wine=/usr/lib/wine/wine64
  LANG=C.UTF-8 WINEPREFIX="$ROOT/$WIN_BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY= \
    "$wine" "$@"
}

# A program under Wine with a virtual X display of its own.
xvfb_run_env() {
  LANG=C.UTF-8 WINEPREFIX="$ROOT/$WIN_BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    xvfb-run -a -s "-screen 0 1024x768x24" "$@"
}
xvfb_wine() {
  local wine=wine
  command -v wine >/dev/null || wine=/usr/lib/wine/wine64
  xvfb_run_env "$wine" "$@"
}

build_windows() {
  install_missing "${WIN_PACKAGES[@]}"
  if [ ! -f "$WIN_BUILD/build.ninja" ]; then
    cmake -S . -B "$WIN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANTIS_WERROR=ON \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
  fi
  cmake --build "$WIN_BUILD" -j "$JOBS"
}

# The Windows test suite and one conversion with Japanese names, under Wine.
test_windows() {
  build_windows
  echo "== Windows tests under Wine =="
  (cd "$WIN_BUILD" && wine_run orvantis_tests.exe --gtest_brief=1)
  echo "== the window under Wine and Xvfb =="
  (cd "$WIN_BUILD" && xvfb_wine orvantis_app_tests.exe --gtest_brief=1)
  xvfb_run_env tests/app/e2e.sh "$WIN_BUILD" "$BUILD"
  local work="$WIN_BUILD/wine-check"
  rm -rf "$work" && mkdir -p "$work/出力"
  cp examples/sample.jww "$work/図面.jww"
  (cd "$work" && wine_run ../orvantis-cli.exe convert --dest 出力 図面.jww)
  "$BUILD/orvantis-cli" convert --dest "$work" examples/sample.jww >/dev/null
  cmp "$work/出力/図面.jww" "$work/sample.jww"
  echo "Windows output of the example is byte-identical to the Linux one"
}

case "${1:-}" in
  demo)
    build
    mkdir -p out
    echo "== converting examples/ into out/ =="
    "$BUILD/orvantis-cli" convert --dest out examples/*.jww
    echo
    echo "== before =="
    "$BUILD/orvantis-cli" info examples/sample.jww
    echo "== after (newest output) =="
    "$BUILD/orvantis-cli" info "$(ls -t out/*.jww | head -n 1)"
    ;;
  test)
    build
    ctest --test-dir "$BUILD" --output-on-failure -j "$JOBS"
    sanitized_tests
    test_windows
    ;;
  windows)
    build
    test_windows
    cmake --build "$WIN_BUILD" --target dist
    ls -l dist/*.zip
    ;;
  bench)
    install_missing "${PACKAGES[@]}" libbenchmark-dev time
    cmake -S . -B "$BUILD-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANTIS_TESTS=OFF -DORVANTIS_BENCH=ON
    cmake --build "$BUILD-bench" -j "$JOBS"
    bench/run.sh "$BUILD-bench"
    ;;
  docs)
    build
    build_windows
    install_missing imagemagick fonts-ipafont-gothic fonts-wine librsvg2-bin
    xvfb_run_env docs/screenshot.sh "$WIN_BUILD"
    rm -rf "$BUILD/docs" && mkdir -p "$BUILD/docs/out"
    "$BUILD/orvantis-cli" convert --preview "$BUILD/docs" --dest "$BUILD/docs/out" examples/sample.jww >/dev/null
    rsvg-convert -w 900 -b white "$BUILD/docs/sample.svg" -o docs/preview.png
    echo "docs/preview.png written"
    ;;
  fuzz)
    install_missing cmake ninja-build clang libclang-rt-14-dev
    if [ ! -f "$BUILD-fuzz/build.ninja" ]; then
      CC=clang CXX=clang++ cmake -S . -B "$BUILD-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORVANTIS_TESTS=OFF -DORVANTIS_FUZZ=ON
    fi
    cmake --build "$BUILD-fuzz" -j "$JOBS"
    fuzz/run.sh "$BUILD-fuzz" "${2:-60}"
    ;;
  *)
    echo "usage: ./build.sh demo|test|bench|windows|docs|fuzz SECONDS" >&2
    exit 2
    ;;
esac
