#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite through ctest.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
tessaly_install_missing
tessaly_build
export QT_QPA_PLATFORM=offscreen
cd "$TESSALY_BUILD"
exec ctest --output-on-failure -j "$(nproc)" "$@"
