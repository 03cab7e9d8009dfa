#!/usr/bin/env bash
# Installs the Debian packages Korrin needs to build, test and run, if any
# is missing.  Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang clang-format clang-tidy libclang-rt-14-dev pkg-config git python3
  qt6-base-dev qt6-qpa-plugins libqt6printsupport6 libqt6svg6 qt6-charts-dev qt6-svg-dev
  libqt6opengl6-dev  # the Qt Charts CMake package looks for Qt OpenGL
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  libcli11-dev  # korrin-report's command line
  libtomlplusplus-dev  # the station file (TOML)
  liberfa-dev  # the moon's position (moon/)
  fonts-liberation fonts-dejavu-core xvfb xauth
  desktop-file-utils appstream
  shared-mime-info  # the install check reads the station files' MIME type
  poppler-utils dpkg-dev lintian man-db groff-base file
  nec2c  # the NEC-2 engine of the near field (its tests run it)
)

# clang-tidy 22 checks the sources in half the time of the default version
# (scripts/tidy.sh); where the archive has no such package, tidy.sh uses
# the default one.
if apt-cache show clang-tidy-22 >/dev/null 2>&1; then packages+=(clang-tidy-22); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update
  $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
