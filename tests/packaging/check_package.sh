#!/usr/bin/env bash
# The desktop files pass their validators, `cmake --install` puts every file where the desktop
# looks for it, the desktop then offers Tessaly for .xls files, and the Debian package built from
# the same tree names its runtime dependencies and holds the installed files.
#
# usage: check_package.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1
build=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
check() { # check DESCRIPTION COMMAND...
  local what=$1
  shift
  "$@" || fail "$what"
}

desktop=$src/resources/tessaly.desktop
metainfo=$src/resources/example.halvorn.tessaly.metainfo.xml

# The standard validators.
check "desktop-file-validate" desktop-file-validate "$desktop"
check "appstreamcli validate" appstreamcli validate --no-net "$metainfo"

# What the file manager reads: the command with the selected files as separate arguments, and the
# workbook type for "Open with".
entry_value() { sed -n "s/^$1=//p" "$desktop"; }
check "Exec line" test "$(entry_value Exec)" = "tessaly %F"
check "MimeType line" test "$(entry_value MimeType)" = "application/vnd.ms-excel;"
check "Name" test "$(entry_value Name)" = "Tessaly"
check "Icon" test "$(entry_value Icon)" = "tessaly"
check "Japanese comment" grep -q '^Comment\[ja\]=..*' "$desktop"
check "Office category" grep -q '^Categories=Office;' "$desktop"
check "metainfo launches the desktop entry" \
  grep -q '<launchable type="desktop-id">tessaly.desktop</launchable>' "$metainfo"
check "metainfo has a screenshot" grep -q '<screenshot type="default">' "$metainfo"

# Installation into a prefix of our own.
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
check "bin/tessaly is a link" test -L "$prefix/bin/tessaly"
check "bin/tessaly leads to lib/tessaly/tessaly" \
  test "$(readlink -f "$prefix/bin/tessaly")" = "$(readlink -f "$prefix/lib/tessaly/tessaly")"
check "the executable is a regular file" test -f "$prefix/lib/tessaly/tessaly" -a ! -L "$prefix/lib/tessaly/tessaly"
check "the executable can run" test -x "$prefix/lib/tessaly/tessaly"
check "the loader finds every library of the installed program" \
  test -z "$(ldd "$prefix/lib/tessaly/tessaly" | grep 'not found')"
check "bin/tessaly-xls installed" test -x "$prefix/bin/tessaly-xls"
check "settings file beside the executable links to etc" \
  test "$(readlink "$prefix/lib/tessaly/tessaly.INI")" = "$prefix/etc/tessaly/tessaly.INI"
check "settings file is installed" grep -q '^\[Registry\]' "$prefix/etc/tessaly/tessaly.INI"
check "desktop entry installed" cmp -s "$desktop" "$prefix/share/applications/tessaly.desktop"
check "metainfo installed" cmp -s "$metainfo" "$prefix/share/metainfo/example.halvorn.tessaly.metainfo.xml"
check "scalable icon installed" cmp -s "$src/resources/tessaly.svg" "$prefix/share/icons/hicolor/scalable/apps/tessaly.svg"
for size in 16 22 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/tessaly.png
  # Width and height from the PNG header.
  check "icon ${size}x${size}" test "$(od --endian=big -An -tu4 -j16 -N8 "$icon" 2>/dev/null | xargs)" \
    = "$size $size"
done

# The desktop finds the entry as it does after the package's install: GIO, which file managers
# use for "Open with", lists Tessaly for the workbook type. GIO keeps only entries whose command
# is on PATH, and only the prefix is searched, so that no Tessaly installed elsewhere can answer.
update-desktop-database "$prefix/share/applications"
mkdir -p "$tmp/home"
offered=$(env -i PATH="$prefix/bin:$PATH" HOME="$tmp/home" XDG_DATA_HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home" \
  XDG_DATA_DIRS="$prefix/share" gio mime application/vnd.ms-excel 2>&1)
check "GIO offers Tessaly for .xls files (got: $offered)" grep -q '^[[:space:]]*tessaly.desktop$' <<<"$offered"

# The Debian package, from the same tree.
cpack -G DEB -B "$tmp/package" --config "$build/CPackConfig.cmake" >/dev/null
debs=("$tmp"/package/tessaly_*.deb)
if [[ ${#debs[@]} -ne 1 || ! -f ${debs[0]} ]]; then
  fail "one package built"
else
  deb=${debs[0]}
  depends=$(dpkg-deb -f "$deb" Depends)
  recommends=$(dpkg-deb -f "$deb" Recommends)
  for pkg in libqt6widgets6 qt6-qpa-plugins libgsf-1-114 libnettle8 libwmf-0.2-7 libqt6svg6 \
    libuno-cppu3 libuno-sal3 cups-client fonts-ipafont-gothic fonts-liberation2 \
    fonts-crosextra-carlito fonts-crosextra-caladea; do
    check "Depends names $pkg" grep -Eq "(^|, )$pkg( |,|$)" <<<"$depends"
  done
  # The report path prints without LibreOffice: it is recommended, not required.
  for pkg in libreoffice-core libreoffice-calc; do
    check "Recommends names $pkg" grep -Eq "(^|, )$pkg( |,|$)" <<<"$recommends"
    check "Depends leaves out $pkg" test -z "$(grep -E "(^|, )$pkg( |,|$)" <<<"$depends")"
  done
  check "package name" test "$(dpkg-deb -f "$deb" Package)" = tessaly
  check "settings file is a conffile" \
    test "$(dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles)" = /etc/tessaly/tessaly.INI
  listing=$(dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }')
  for line in \
    "./usr/bin/tessaly -> ../lib/tessaly/tessaly" \
    "./usr/lib/tessaly/tessaly" \
    "./usr/bin/tessaly-xls" \
    "./usr/lib/tessaly/uno -> ../libreoffice/program" \
    "./usr/share/man/man1/tessaly.1.gz" \
    "./usr/share/man/man1/tessaly-xls.1.gz" \
    "./usr/share/doc/tessaly/copyright" \
    "./usr/share/doc/tessaly/changelog.gz" \
    "./usr/lib/tessaly/tessaly.INI -> /etc/tessaly/tessaly.INI" \
    "./etc/tessaly/tessaly.INI" \
    "./usr/share/applications/tessaly.desktop" \
    "./usr/share/metainfo/example.halvorn.tessaly.metainfo.xml" \
    "./usr/share/icons/hicolor/48x48/apps/tessaly.png" \
    "./usr/share/icons/hicolor/scalable/apps/tessaly.svg"; do
    check "package holds $line" grep -qxF "$line" <<<"$listing"
  done
  # Every library the packaged program loads comes from a package it depends on, or from a
  # direct dependency of one of those.
  dpkg-deb -x "$deb" "$tmp/unpacked"
  names() { tr ',|' '\n\n' | sed 's/(.*)//; s/:.*//; s/[[:space:]]//g' | awk NF; }
  named=$(names <<<"$depends" | sort -u)
  reached=$( (echo "$named"; while read -r pkg; do
    dpkg-query -W -f='${Depends}, ${Pre-Depends}\n' "$pkg" | names
  done <<<"$named") | sort -u)
  for exe in "$tmp/unpacked/usr/lib/tessaly/tessaly" "$tmp/unpacked/usr/bin/tessaly-xls"; do
    needed=$(readelf -d "$exe" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    check "$exe names its libraries" test -n "$needed"
    # Where the loader finds each library, under both spellings of the merged /usr.
    located=$(ldd "$exe" | awk '$2 == "=>" { print $3 } $1 ~ /^\// { print $1 }')
    candidates=$(for path in $located; do echo "$path" "${path#/usr}" "/usr${path#/usr}"; done)
    # shellcheck disable=SC2086 # one path a word
    owned=$(dpkg -S $candidates 2>/dev/null || true)
    for library in $needed; do
      owners=$(awk -F': ' -v name="$library" \
        '{ n = split($NF, part, "/"); if (part[n] == name) print $1 }' <<<"$owned" | names | sort -u)
      check "$library comes from a package (${owners:-none}) the package depends on" \
        test -n "$owners" -a -n "$(comm -12 <(echo "$owners") <(echo "$reached"))"
    done
  done
  # Debian's own package checker finds nothing to say, warnings included.
  root=()
  [[ $(id -u) -ne 0 ]] || root=(--allow-root)
  lintian_says=$(lintian "${root[@]}" --fail-on error,warning "$deb" 2>&1) ||
    fail "lintian accepts the package: $lintian_says"
  # Every dependency resolves against what is installed here (all are in the build's package list).
  check "apt can install the package's dependencies" \
    apt-get -s -o Debug::NoLocking=1 install "$deb" >/dev/null
fi

if [[ $failures -ne 0 ]]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "packaging checks passed"
