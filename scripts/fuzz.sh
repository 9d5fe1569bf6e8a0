#!/usr/bin/env bash
# Builds the libFuzzer target of the workbook reader and the report printer's layout and painting
# with clang (address and undefined-behaviour sanitizers) in build-fuzz/ (or $TESSALY_FUZZ_BUILD)
# and runs it, seeded with the test fixtures, their bare workbook streams and the regression
# corpus fuzz/corpus/. Inputs that fail are written to fuzz-artifacts/ in the build folder.
# Exits non-zero on a finding.
#
# usage: scripts/fuzz.sh SECONDS   fuzz for SECONDS seconds from a random seed, for people; the
#                                  corpus grows in fuzz-corpus/ (or $TESSALY_FUZZ_CORPUS)
#        scripts/fuzz.sh --check   what the test suite runs, the same on every machine: every
#                                  seed and every input of fuzz/corpus/ once, then
#                                  $TESSALY_FUZZ_RUNS (default 10000) inputs of a fixed-seed run
#                                  that starts from them in a fresh corpus, bounded by count and
#                                  never by time
#
# Leaks are reported with symbolised stacks from the slow unwinder: glib is built without frame
# pointers, so the fast unwinder stops at g_malloc and a report would never name the libgsf
# function that fuzz/lsan.supp names. That function is the fifth frame; the slow unwinder costs
# time for every frame of every allocation, and painting allocates much, so stacks are kept to
# eight frames.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

usage="usage: scripts/fuzz.sh SECONDS | --check"
mode=${1:?$usage}
if [[ $mode == --check ]]; then
  runs=${TESSALY_FUZZ_RUNS:-10000}
elif [[ $mode =~ ^[0-9]+$ ]]; then
  seconds=$mode
else
  echo "$usage" >&2
  exit 2
fi
tessaly_install_missing

build=${TESSALY_FUZZ_BUILD:-$TESSALY_ROOT/build-fuzz}
CC=clang CXX=clang++ cmake -S "$TESSALY_ROOT" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSALY_FUZZ=ON >/dev/null
cmake --build "$build" --target xls_fuzz -j 2 >/dev/null
fuzzer="$build/fuzz/xls_fuzz"

fixtures="$TESSALY_ROOT/tests/xls/fixtures"
regressions="$TESSALY_ROOT/fuzz/corpus"
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

# The sanitizers find llvm-symbolizer only under that name on the PATH; Debian's clang brings
# it under its versioned name or in LLVM's own folder (package llvm-14).
symbolizer=$(command -v llvm-symbolizer || true)
if [[ -z $symbolizer ]]; then
  for candidate in $(compgen -c llvm-symbolizer- | sort -rV) /usr/lib/llvm-*/bin/llvm-symbolizer; do
    candidate=$(command -v "$candidate" || true)
    if [[ -n $candidate && -x $candidate ]]; then
      symbolizer=$candidate
      break
    fi
  done
fi
if [[ -z $symbolizer ]]; then
  echo "fuzz.sh: no llvm-symbolizer (Debian package llvm-14): leak reports could not be matched" \
    "to fuzz/lsan.supp" >&2
  exit 1
fi
export ASAN_OPTIONS="external_symbolizer_path=$symbolizer${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$TESSALY_ROOT/fuzz/lsan.supp:fast_unwind_on_malloc=0:malloc_context_size=8:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
# Qt's hashes take a random seed per process otherwise.
export QT_HASH_SEED=0

options=(-rss_limit_mb=2048 -artifact_prefix="$build/fuzz-artifacts/")

if [[ $mode != --check ]]; then
  corpus=${TESSALY_FUZZ_CORPUS:-$TESSALY_ROOT/fuzz-corpus}
  mkdir -p "$corpus"
  exec "$fuzzer" "${options[@]}" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -print_final_stats=1 "$corpus" "$seeds" "$regressions"
fi

# Every input, the seeds first, each folder's by name: an order that depends neither on the file
# system nor on where the build folder is.
inputs=()
for folder in "$seeds" "$regressions"; do
  while IFS= read -r -d '' file; do
    inputs+=("$file")
  done < <(find "$folder" -maxdepth 1 -type f -print0 | LC_ALL=C sort -z)
done

echo "== Every seed and every input of the regression corpus, once (${#inputs[@]} inputs)"
"$fuzzer" "${options[@]}" -timeout=120 "${inputs[@]}"

echo "== A fixed-seed run of $runs inputs"
# A fresh corpus, the inputs as a list in that order, no shuffle and no reload, so that the run
# depends on nothing but the seed and the inputs. Two things would still tie it to the machine,
# through the heap's layout, which follows the paths and the environment: the values of
# comparisons, pointers among them, that -use_cmp feeds back into the inputs (off here), and what
# an allocation's bytes past the 4 KiB that ASan fills held before (all filled here). The
# time-out only tells a hang from a slow machine.
export ASAN_OPTIONS="$ASAN_OPTIONS:max_malloc_fill_size=2147483647"
corpus="$build/fuzz-check-corpus"
rm -rf "$corpus"
mkdir -p "$corpus"
list="$build/fuzz-check-inputs"
(IFS=,; printf '%s' "${inputs[*]}") >"$list"
exec "$fuzzer" "${options[@]}" -seed=1 -runs="$runs" -shuffle=0 -reload=0 -use_cmp=0 -max_len=65536 \
  -timeout=120 -print_final_stats=1 -seed_inputs=@"$list" "$corpus"
