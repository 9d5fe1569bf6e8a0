#!/usr/bin/env bash
# Reading time and memory of the workbook reader on the benchmark workbooks: the 50 workbooks
# of 3 sheets x 100 rows x 8 columns, and one of 65,536 rows x 10 columns. A peer run in the
# same call reads the same files with xlrd, a Python reader of the format, for a ratio that
# shows how much of a change is the machine's noise. Both sets are read again encrypted with the
# spreadsheet's default password, to show what decryption costs beside reading.
#
# usage: bench/xls/run_read_bench.sh [REPEATS]   (after a build into build/)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
repeats=${1:-11}
bench="$root/build/bench/xls/bench_xls_read"
data="$root/build/bench-workbooks"
[[ -x "$bench" ]] || { echo "build first: $bench is missing" >&2; exit 1; }
if [[ ! -f "$data/small/book050.xls" ]]; then
  /usr/bin/python3 "$root/bench/make_workbooks.py" "$data/small" 50 3 100 8
fi
if [[ ! -f "$data/large/book001.xls" ]]; then
  /usr/bin/python3 "$root/bench/make_workbooks.py" "$data/large" 1 1 65536 10
fi
for set in small large; do
  if [[ ! -f "$data/$set-encrypted/book001.xls" ]]; then
    /usr/bin/python3 "$root/bench/xls/encrypt_workbooks.py" "$data/$set" "$data/$set-encrypted"
  fi
done

peer() {
  /usr/bin/python3 - "$@" <<'PY'
import statistics, sys, time, xlrd
repeats, files = int(sys.argv[1]), sys.argv[2:]
times = []
for _ in range(repeats):
    start = time.perf_counter()
    for f in files:
        xlrd.open_workbook(f)
    times.append(time.perf_counter() - start)
print("%.4f" % statistics.median(times))
PY
}

ours_median() { awk '/^median/ {print $2}'; }

for set in small large small-encrypted large-encrypted; do
  files=("$data/$set"/*.xls)
  n=$repeats
  [[ $set == large* ]] && n=$(( (repeats + 1) / 2 ))
  echo "== $set: ${#files[@]} workbook(s), $n passes"
  out=$("$bench" "$n" "${files[@]}")
  echo "$out"
  [[ $set == *-encrypted ]] && continue # xlrd does not decrypt
  ours=$(ours_median <<<"$out")
  theirs=$(peer "$n" "${files[@]}")
  echo "peer (xlrd) median $theirs s; ratio ours/peer $(awk -v a="$ours" -v b="$theirs" 'BEGIN {printf "%.3f", a / b}')"
done
