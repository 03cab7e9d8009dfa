#!/usr/bin/env bash
# Builds the Debian package of Korrin: a Release tree of the two programs
# (no tests, no benchmarks) with Debian's build flags (-O2, hardening), installed
# under /usr by cpack's DEB generator.  Writes korrin_<version>_<arch>.deb
# into build/package/ and prints its path on the last line.  Needs
# dpkg-shlibdeps (dpkg-dev) to find the runtime dependencies.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KORRIN_PACKAGE_BUILD_DIR:-build/release}
out=build/package

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# Debian's flags without debugging information: the package carries
# stripped programs.  They replace the Release build's own optimisation
# (-O3, at which GCC 12 warns falsely about std::string copies).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_STRIP="-g"
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DKORRIN_BUILD_TESTS=OFF -DKORRIN_BUILD_BENCH=OFF -DKORRIN_BUILD_FUZZ=OFF \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"

mkdir -p "$out"
rm -f "$out"/korrin_*.deb
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$PWD/$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log" >&2; exit 1; }
rm -rf "$out/_CPack_Packages"
deb=$(ls "$out"/korrin_*.deb)
echo "$deb"
