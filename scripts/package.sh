#!/usr/bin/env bash
# Builds Tessaly for release in build-release/ (or $TESSALY_PACKAGE_BUILD) and makes its Debian
# package there, tessaly_<version>_<architecture>.deb. Install it on any Debian 12 machine with
#   apt install ./build-release/tessaly_*.deb
# CMAKE_BUILD_TYPE chooses another build type (default Release).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
tessaly_install_missing

build=${TESSALY_PACKAGE_BUILD:-$TESSALY_ROOT/build-release}
cmake -S "$TESSALY_ROOT" -B "$build" -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-Release}" >/dev/null
# The package holds the program and its desktop files only.
cmake --build "$build" --target tessaly tessaly-xls -j "$(nproc)"
rm -f "$build"/tessaly_*.deb
(cd "$build" && cpack -G DEB)
ls "$build"/tessaly_*.deb
