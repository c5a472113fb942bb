#!/usr/bin/env bash
# Installs what is missing, builds, then runs the player (run) or the whole test suite (test).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-}
case "$mode" in run|test) ;; *) echo "usage: $0 run|test" >&2; exit 2 ;; esac

packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libsqlite3-dev libmpv-dev libxcb1-dev fonts-liberation)
test_packages=(libgtest-dev libgmock-dev googletest libbenchmark-dev clang libclang-rt-14-dev
  xvfb x11-utils xdotool weston qt6-wayland pulseaudio pulseaudio-utils dbus dbus-x11 playerctl libgl1-mesa-dri
  desktop-file-utils appstream dpkg-dev ffmpeg musepack-tools openbox at-spi2-core python3-gi gir1.2-atspi-2.0)
[ "$mode" = test ] && packages+=("${test_packages[@]}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc)
# Every build compiles its sources in batches (a unity build): the Qt and GoogleTest headers
# are read once a batch, which halves the build, and the player is built from the same
# batches that the test builds compile.
unity=(-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=8)
if [ "$mode" = run ]; then
  cmake -S . -B build -G Ninja -DOSTREL_TESTS=OFF -DOSTREL_BENCH=OFF "${unity[@]}" >/dev/null
  cmake --build build -j "$jobs"
  exec build/app/ostrel
fi

export QT_QPA_PLATFORM=offscreen
# Optimised as the player ships, for the benchmarks built here too; without debug information,
# which no test run reads and which costs a fifth of the build.
cmake -S . -B build-test -G Ninja -DOSTREL_STRICT=ON -DOSTREL_TESTS=ON -DOSTREL_BENCH=ON "${unity[@]}" \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" >/dev/null
cmake --build build-test -j "$jobs"
# Most of these wait on real time (sound played and recorded, X servers, processes): one more
# than the cores keeps them busy.
ctest --test-dir build-test --output-on-failure -j $((jobs + 1))

# The tests again under the address, leak and undefined-behaviour sanitizers, but for those on
# a display and sound server of their own: they mostly wait on real time, and the suite must
# end within ten minutes.
cmake -S . -B build-asan -G Ninja -DOSTREL_SANITIZE=ON -DOSTREL_STRICT=ON -DOSTREL_TESTS=ON -DOSTREL_DESKTOP_TESTS=OFF \
  -DOSTREL_BENCH=OFF "${unity[@]}" \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1" >/dev/null # line tables name the lines of a report;
# -O1 keeps the reports' frames and runs the suite in about half the time of no optimisation
cmake --build build-asan -j "$jobs"

# The fuzzers are built on clang beside the sanitizer tests, which mostly wait on processes
# and files.
fuzz_log=$(mktemp)
(cmake -S tests/fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DFUZZ_SECONDS=10 >/dev/null &&
  cmake --build build-fuzz -j "$jobs") >"$fuzz_log" 2>&1 &
fuzz_build=$!
# What killed or racing processes leave on disk is checked by the plain run; under the
# sanitizers those tests only take longer.
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -j $((jobs * 2)) -E "^CrashSafety\.|TwoProcessesWritingAtOnce"
wait "$fuzz_build" || { cat "$fuzz_log"; exit 1; }

# Each list reader under libFuzzer for 10 seconds; any finding fails the run.
ctest --test-dir build-fuzz --output-on-failure -j 4
