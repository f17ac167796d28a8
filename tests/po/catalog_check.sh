#!/usr/bin/env bash
# The English catalog against the window's texts:
#  - every text marked N_("...") in the Texts.h files has a non-empty,
#    non-fuzzy English text in po/en.po (msgcmp);
#  - no Korean text in a Texts.h file is left unmarked (it would never reach
#    the catalog, and the English window would show it in Korean);
#  - po/en.po passes msgfmt's checks: a menu text keeps its one '&', and a
#    text keeps the '\n' at its ends;
#  - a file filter keeps its pattern after '|'.
#   catalog_check.sh SOURCE_DIR
set -euo pipefail
src=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

"$src/po/make-pot" "$src" "$work/padocut.pot"
if ! msgcmp "$src/po/en.po" "$work/padocut.pot" 2>"$work/msgcmp.log"; then
  msgmerge --quiet --no-fuzzy-matching --no-wrap -o - "$src/po/en.po" "$work/padocut.pot" |
    msgattrib --untranslated --no-obsolete --no-wrap | sed '1,/^$/d' | grep -v '^msgstr' >&2 || true
  echo "po/en.po: the texts above have no English text (cmake --build build --target padocut-po-update adds them)" >&2
  status=1
fi

cd "$src"
if LC_ALL=C.UTF-8 grep -nP '"[^"]*\p{Hangul}' $(find app ui pipeline -name Texts.h | LC_ALL=C sort) |
   LC_ALL=C.UTF-8 grep -v 'N_("' >"$work/unmarked"; then
  cat "$work/unmarked" >&2
  echo "these Korean texts are not marked N_(\"...\") (see app/Texts.h)" >&2
  status=1
fi

if ! msgfmt --check --check-accelerators='&' -o /dev/null po/en.po; then
  status=1
fi

# One line per text (filters never span lines): the pattern after the last
# '|' of an id must end its English text too.
msgcat --no-wrap po/en.po | awk '
  /^msgid "/  { id = substr($0, 8, length($0) - 8) }
  /^msgstr "/ { text = substr($0, 9, length($0) - 9)
                n = split(id, part, "|")
                if (n > 1 && substr(text, length(text) - length(part[n]) + 1) != part[n] "") {
                  print "po/en.po: \"" text "\" lost the pattern |" part[n] > "/dev/stderr"; bad = 1 } }
  END { exit bad }' || status=1
exit $status
