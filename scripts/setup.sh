#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing) and
# configures a build directory. Safe to run again: with everything present it
# installs nothing.
#
#   scripts/setup.sh [BUILD_DIR] [--sanitize]
set -euo pipefail

cd "$(dirname "$0")/.."

build_dir=build
sanitize=OFF
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=ON ;;
    *) build_dir=$arg ;;
  esac
done

packages=(cmake ninja-build g++ ccache qt6-base-dev qt6-charts-dev libqt6opengl6-dev libzip-dev libsqlite3-dev libgtest-dev zip unzip fonts-dejavu-core)
# The install test: manual pages rendered with man, the Debian package's dependencies and icons checked.
packages+=(man-db groff-base dpkg-dev file)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
# The sanitizer build is unoptimised: with the sanitizers on, optimising takes
# several times longer to compile than the whole suite takes to run.
build_type=RelWithDebInfo
[ "$sanitize" = ON ] && build_type=Debug
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" -DKVQT_SANITIZE="$sanitize" >/dev/null
fi
echo "setup: $build_dir configured"
