#!/usr/bin/env bash
# Takes the README's screenshots with the program built in build/, on a private X server:
#   docs/main-window.png    the main window with a few workbooks
#   docs/print-options.png  the print options dialog
# The workbooks shown are empty sample files under /tmp/共有 and the printers the queues of a
# private CUPS scheduler, all removed afterwards.
#
# usage: scripts/screenshots.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# ImageMagick photographs the screen; it is needed here only, not by the program or its tests.
TESSALY_PACKAGES+=(imagemagick)
tessaly_install_missing
cmake -S "$TESSALY_ROOT" -B "$TESSALY_BUILD" >/dev/null
cmake --build "$TESSALY_BUILD" --target tessaly -j "$(nproc)" >/dev/null

# Sample workbooks (empty files) under a short, readable folder made for this run only.
samples=/tmp/共有
if [[ -e $samples ]]; then
  echo "$samples exists; remove it or wait for the other run to end." >&2
  exit 1
fi
tmp=$(mktemp -d)
xvfb=
cupsd=
cleanup() {
  for pid in $xvfb $cupsd; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  rm -rf "$tmp" "$samples"
}
trap cleanup EXIT

books=$samples/経理
mkdir -p "$books/2026年度" "$books/月次報告" "$tmp/run" "$tmp/home"
chmod 700 "$tmp/run"
touch "$books/2026年度/請求書 4月.xls" "$books/2026年度/請求書 5月.xls" \
  "$books/2026年度/支払予定表.xls" "$books/月次報告/売上集計 4月.xls" "$books/月次報告/経費明細.xls"

Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$tmp/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 600); do
  [[ -s $tmp/display ]] && break
  sleep 0.1
done
[[ -s $tmp/display ]] || { echo "Xvfb did not start" >&2; exit 1; }

# A private CUPS scheduler with sample queues for the dialog's printer list; the system's own
# queues are neither shown nor touched.
cups=$tmp/cups
mkdir -p "$cups/etc" "$cups/spool" "$cups/state" "$cups/cache" "$cups/log" "$cups/tmp"
chmod 711 "$tmp" "$cups" # as root the scheduler's helpers run as lp and must reach the spool
cat >"$cups/etc/cups-files.conf" <<CONF
ServerRoot $cups/etc
RequestRoot $cups/spool
StateDir $cups/state
CacheDir $cups/cache
TempDir $cups/tmp
ErrorLog $cups/log/error_log
AccessLog $cups/log/access_log
PageLog $cups/log/page_log
FileDevice Yes
$([[ $(id -u) -ne 0 ]] && printf 'User %s\nGroup %s\nSystemGroup %s\n' "$(id -un)" "$(id -gn)" "$(id -gn)")
CONF
cat >"$cups/etc/cupsd.conf" <<CONF
Listen $cups/cups.sock
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
CONF
cupsd -f -c "$cups/etc/cupsd.conf" -s "$cups/etc/cups-files.conf" &
cupsd=$!
for _ in $(seq 200); do
  lpstat -h "$cups/cups.sock" -r >/dev/null 2>&1 && break
  sleep 0.1
done
for queue in Office-MFP Accounting-Laser PDF-Writer; do
  lpadmin -h "$cups/cups.sock" -p "$queue" -E -v file:///dev/null
done
lpadmin -h "$cups/cups.sock" -d Office-MFP

mkdir -p "$TESSALY_ROOT/docs"
# In a D-Bus session of its own, with the accessibility bus up before the program starts. Three
# workbooks and a folder of two are opened; one workbook is selected.
env -i PATH="/usr/bin:/bin" HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/run" LANG=C.UTF-8 \
  DISPLAY=":$(head -n1 "$tmp/display")" CUPS_SERVER="$cups/cups.sock" BOOKS="$books" DOCS="$TESSALY_ROOT/docs" \
  HELPER="$TESSALY_ROOT/scripts/screenshots.py" EXE="$TESSALY_BUILD/tessaly" \
  dbus-run-session -- bash -euo pipefail -c '
    helper() { /usr/bin/python3 "$HELPER" "$@"; }
    shot() { import -window root -crop "$1" +repage "$2" && echo "$2"; }
    /usr/bin/python3 -c "import gi; gi.require_version(\"Atspi\", \"2.0\"); from gi.repository import Atspi; Atspi.get_desktop(0)"
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$EXE" "$BOOKS/2026年度/請求書 4月.xls" \
      "$BOOKS/2026年度/請求書 5月.xls" "$BOOKS/2026年度/支払予定表.xls" "$BOOKS/月次報告" &
    trap "kill $! 2>/dev/null" EXIT
    window=$(helper main 5 "$BOOKS/2026年度/支払予定表.xls")
    shot "$window" "$DOCS/main-window.png"
    window=$(helper press "連続印刷実行(P)")
    shot "$window" "$DOCS/print-options.png"
  ' 2> >(grep -v 'fd limit\|dbus-daemon\|SpiRegistry\|X connection' >&2)
