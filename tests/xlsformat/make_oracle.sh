#!/usr/bin/env bash
# Regenerates the oracle: LibreOffice's CSV export of the fixture workbooks, cell contents as
# shown, one CSV per sheet. LibreOffice works on copies in a temporary folder with a profile of
# its own, so that nothing is written beside the fixtures or into a user's profile.
#
# usage: make_oracle.sh [FIXTURE_DIR]   (default: the fixtures folder beside this script)
set -euo pipefail

fixtures=$(cd "${1:-$(dirname "${BASH_SOURCE[0]}")/fixtures}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/in" "$work/out"
cp "$fixtures"/*.xls "$work/in/"
# Fields: separator ",", text delimiter '"', UTF-8, from line 1, Japanese formatting locale
# (1041), quote text only where needed, cell contents as shown, values not formulas, every
# sheet to a file of its own.
filter='csv:Text - txt - csv (StarCalc):44,34,76,1,,1041,false,true,true,false,false,-1'
soffice "-env:UserInstallation=file://$work/profile" --headless --norestore \
    --convert-to "$filter" --outdir "$work/out" "$work"/in/*.xls >/dev/null

rm -rf "$fixtures/oracle"
mkdir -p "$fixtures/oracle"
cp "$work"/out/*.csv "$fixtures/oracle/"
ls "$fixtures/oracle"
