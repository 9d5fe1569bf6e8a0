#!/usr/bin/env bash
# Installs Tessaly into a temporary prefix and opens workbooks with it through its desktop entry,
# as a file manager does: several files, names with blanks and Japanese characters, one that is
# not a workbook. The installed program must list exactly the workbooks, ticked, in that order,
# and its About box must show the owner set in the settings file under etc/tessaly.
#
# usage: open_with.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1
build=$2
tmp=$(mktemp -d)
xvfb=
cleanup() {
  [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

files=$tmp/files
mkdir -p "$files/経理 資料" "$tmp/run" "$tmp/home"
chmod 700 "$tmp/run"
book1="$files/経理 資料/請求書 4月.xls"
book2="$files/売上 (2026).XLS"
note="$files/メモ.txt"
book3="$files/plain.xls"
touch "$book1" "$book2" "$note" "$book3"
printf '[Registry]\nCOMPANY=有限会社テスト商会\nNAME=山田 太郎\n' >"$prefix/etc/tessaly/tessaly.INI"

# An X server of our own on a free display.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 1200); do
  [[ -s $tmp/display ]] && break
  kill -0 "$xvfb" 2>/dev/null || { cat "$tmp/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
[[ -s $tmp/display ]] || { echo "Xvfb did not start" >&2; exit 1; }

# The lock of the single running copy lives in XDG_RUNTIME_DIR: a folder of this test's own.
env -i PATH="$prefix/bin:$PATH" HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/run" \
  DISPLAY=":$(head -n1 "$tmp/display")" LANG=C.UTF-8 \
  dbus-run-session -- /usr/bin/python3 "$src/tests/packaging/open_with.py" \
  "$prefix/share/applications/tessaly.desktop" "$prefix/lib/tessaly/tessaly" \
  --owner $'有限会社テスト商会\n山田 太郎' \
  --expect "$book1" "$book2" "$book3" \
  --open "$book1" "$book2" "$note" "$book3" 2> >(grep -v 'fd limit\|dbus-daemon\|SpiRegistry' >&2)
