#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tessaly with the given workbooks and folders.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
tessaly_install_missing
tessaly_build
exec "$TESSALY_BUILD/tessaly" "$@"
