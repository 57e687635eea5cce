#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Gathers the program's texts from the sources into the catalogues i18n/vendle_ja.ts and
# i18n/vendle_en.ts (new texts come in unfinished, texts no longer used go). With --check it
# changes nothing and fails when a catalogue is not up to date or holds an unfinished text.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
run() { # catalogue language
    "$lupdate" -silent -tr-function-alias translate+=textIn,QT_TRANSLATE_NOOP+=VENDLE_TEXT_NOOP \
        -source-language ja -target-language "$2" -no-obsolete -locations none -extensions cpp,h src -ts "$1"
}
if [ "${1:-}" = "--check" ]; then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    status=0
    for lang in ja en; do
        cp "i18n/vendle_$lang.ts" "$tmp/vendle_$lang.ts"
        run "$tmp/vendle_$lang.ts" "$lang"
        if ! cmp -s "i18n/vendle_$lang.ts" "$tmp/vendle_$lang.ts"; then
            echo "i18n/vendle_$lang.ts is not up to date with the sources: run scripts/update-translations.sh"
            diff -u "i18n/vendle_$lang.ts" "$tmp/vendle_$lang.ts" | head -40
            status=1
        fi
        if grep -q 'type="unfinished"' "i18n/vendle_$lang.ts"; then
            echo "i18n/vendle_$lang.ts holds unfinished texts:"
            grep -B2 'type="unfinished"' "i18n/vendle_$lang.ts" | grep '<source>' | head -20
            status=1
        fi
    done
    exit $status
fi
for lang in ja en; do
    run "i18n/vendle_$lang.ts" "$lang"
done
