#!/usr/bin/env bash
# Installs what is missing, builds, then runs the player (run) or the whole test suite (test).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-}
case "$mode" in run|test) ;; *) echo "usage: $0 run|test" >&2; exit 2 ;; esac

packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libsqlite3-dev libmpv-dev libxcb1-dev fonts-liberation)
test_packages=(libgtest-dev libgmock-dev googletest libbenchmark-dev clang libclang-rt-14-dev ccache
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
# The player and the test builds compile their sources in batches (a unity build): the Qt and
# GoogleTest headers are read once a batch, which halves the build. The package build below
# compiles every file on its own, so that one that does not include what it uses fails.
unity=(-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=8)
if [ "$mode" = run ]; then
  cmake -S . -B build -G Ninja -DOSTREL_TESTS=OFF -DOSTREL_BENCH=OFF "${unity[@]}" >/dev/null
  cmake --build build -j "$jobs"
  exec build/app/ostrel
fi

# A build that compiles what an earlier run compiled takes it from the compiler cache, also from
# a checkout in another folder: paths are taken relative to the checkout's top.
cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ostrel-ccache} CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-4G}
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
started=$SECONDS
phase_start=$SECONDS
phase() { echo "== $1 took $((SECONDS - phase_start)) s (${SECONDS} s in all)"; phase_start=$SECONDS; }

export QT_QPA_PLATFORM=offscreen
# Optimised as the player ships, for the benchmarks built here too; without debug information,
# which no test run reads and which costs a fifth of the build.
cmake -S . -B build-test -G Ninja -DOSTREL_STRICT=ON -DOSTREL_TESTS=ON -DOSTREL_BENCH=ON "${unity[@]}" "${cache[@]}" \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" >/dev/null
cmake --build build-test -j "$jobs"
phase "the test build"
# Most of these wait on real time (sound played and recorded, X servers, processes): one more
# than the cores keeps them busy.
ctest --test-dir build-test --output-on-failure -j $((jobs + 1))
phase "the tests"

# The package as the README builds it, every file compiled on its own, unpacked into a scratch
# root whose player must start and end at a close request.
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DOSTREL_TESTS=OFF -DOSTREL_BENCH=OFF \
  -DCMAKE_UNITY_BUILD=OFF "${cache[@]}" >/dev/null
cmake --build build-release -j "$jobs"
(cd build-release && cpack -G DEB >/dev/null)
package_root=$(mktemp -d)
dpkg-deb -x build-release/ostrel_*_amd64.deb "$package_root"
OSTREL_PACKAGE_ROOT=$package_root build-test/tests/desktop/ostrel_desktop_tests --gtest_filter='TInstalledPackageTest.*'
rm -rf "$package_root"
phase "the package, built unbatched, installed and started"

# The tests again under the address, leak and undefined-behaviour sanitizers. Of those on a
# display and sound server of their own, those that drive the real engine; what killed or
# racing processes leave on disk is checked by the plain run, where they are not slowed down.
cmake -S . -B build-asan -G Ninja -DOSTREL_SANITIZE=ON -DOSTREL_STRICT=ON -DOSTREL_TESTS=ON -DOSTREL_BENCH=OFF \
  "${unity[@]}" "${cache[@]}" \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1" >/dev/null # line tables name the lines of a report;
# -O1 keeps the reports' frames and runs the suite in about half the time of no optimisation
cmake --build build-asan -j "$jobs"
phase "the sanitizer build"

# The fuzzers are built on clang beside the sanitizer tests, which mostly wait on processes
# and files.
fuzz_log=$(mktemp)
(cmake -S tests/fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DFUZZ_SECONDS=20 "${cache[@]}" >/dev/null &&
  cmake --build build-fuzz -j "$jobs") >"$fuzz_log" 2>&1 &
fuzz_build=$!
engine_tests='^(THeardPlaybackTest|TGaplessTest|TResumePlaybackTest|TNowPlayingHeardTest|TVideoTest|TEvenLoudnessTest)\.'
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -j $((jobs * 2)) \
  -E "^CrashSafety\.|TwoProcessesWritingAtOnce|^(TMediaControlsTest|TNoHelperProcessTest|TNowPlayingOnTheBusTest|TDisplayLossTest|TEndingWhileBusyTest|TCompositorLossTest|TFileDialogTest|TRunningPlayerTest|THandOverToWindowTest|TFindBarAccessibleTest|TArrangingAccessibleTest|TListDragMoveTest|TMediaTypesTest|TVideoWindowTest|TInstalledPackageTest|EachSignalOnEachPlatform)"
wait "$fuzz_build" || { cat "$fuzz_log"; exit 1; }
phase "the sanitizer tests"

# The code on threads beside the window (the background save, the engine's wake-ups, the list's
# new orders) under the thread sanitizer; a report wholly inside Qt or libmpv is suppressed, each
# with its reason.
cmake -S . -B build-tsan -G Ninja -DOSTREL_THREAD_SANITIZER=ON -DOSTREL_STRICT=ON -DOSTREL_TESTS=ON \
  -DOSTREL_DESKTOP_TESTS=OFF -DOSTREL_BENCH=OFF "${unity[@]}" "${cache[@]}" \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1" >/dev/null
cmake --build build-tsan -j "$jobs" --target ostrel_tests medialist_tests
TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/tsan.supp" \
  ctest --test-dir build-tsan --output-on-failure -j $((jobs + 1)) -R '^(TAutoSaveTest|TMpvTest|TListFileSafetyTest|TListArrangementTest|ListArrangement)\.'
phase "the thread sanitizer tests"

# Each list reader under libFuzzer for 20 seconds; any finding fails the run.
ctest --test-dir build-fuzz --output-on-failure -j 4
phase "the fuzzers"
echo "== the whole suite took $((SECONDS - started)) s"
