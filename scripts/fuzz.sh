#!/usr/bin/env bash
# Builds the workbook reader's libFuzzer target with clang (address and undefined-behaviour
# sanitizers) in build-fuzz/ (or $TESSALY_FUZZ_BUILD), and runs it for SECONDS seconds, seeded with the test fixtures
# and their bare workbook streams. The corpus grows in fuzz-corpus/ (or $TESSALY_FUZZ_CORPUS);
# inputs that fail are written to fuzz-artifacts/ in the build folder. Exits non-zero on a finding.
#
# usage: scripts/fuzz.sh SECONDS
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

seconds=${1:?usage: scripts/fuzz.sh SECONDS}
tessaly_install_missing

build=${TESSALY_FUZZ_BUILD:-$TESSALY_ROOT/build-fuzz}
CC=clang CXX=clang++ cmake -S "$TESSALY_ROOT" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSALY_FUZZ=ON >/dev/null
cmake --build "$build" --target xls_fuzz -j 2 >/dev/null

fixtures="$TESSALY_ROOT/tests/xls/fixtures"
seeds="$build/fuzz-seeds"
rm -rf "$seeds"
mkdir -p "$seeds" "$build/fuzz-artifacts"
cp "$fixtures"/*.xls "$seeds/"
# The bare workbook streams too, so that mutations reach the records behind the container.
/usr/bin/python3 - "$fixtures" "$seeds" <<'PY'
import os, sys, xlrd.compdoc
src, dst = sys.argv[1:]
for name in sorted(os.listdir(src)):
    if not name.endswith(".xls"):
        continue
    try:
        doc = xlrd.compdoc.CompDoc(open(os.path.join(src, name), "rb").read(), logfile=open(os.devnull, "w"))
        stream = doc.get_named_stream("Workbook") or doc.get_named_stream("Book")
    except Exception:
        continue
    if stream:
        open(os.path.join(dst, name + ".stream"), "wb").write(stream)
PY

corpus=${TESSALY_FUZZ_CORPUS:-$TESSALY_ROOT/fuzz-corpus}
mkdir -p "$corpus"
export LSAN_OPTIONS="suppressions=$TESSALY_ROOT/xls/fuzz/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
exec "$build/xls/xls_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/" \
  "$corpus" "$seeds"
