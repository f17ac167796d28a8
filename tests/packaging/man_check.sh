#!/usr/bin/env bash
# The man pages as built: padocut-cli.1 holds every command of padocut-cli
# --help with every option and operand of its own help, and both pages
# render without a warning. Exit 77 (skipped) when they were not built.
#   man_check.sh BUILD_DIR
set -euo pipefail
build=$1
cli=$build/padocut-cli
page=$build/man/padocut-cli.1
if [[ ! -f "$page" || ! -f "$build/man/padocut.1" ]]; then
  echo "skipped: the man pages were not built (help2man is not installed)"
  exit 77
fi
status=0
# roff spells "-" as "\-".
roff() { sed 's/-/\\-/g' <<<"$1"; }

mapfile -t commands < <("$cli" --help | sed -n '/^Subcommands:$/,/^$/{s/^  \([a-z][a-z-]*\) .*/\1/p}')
((${#commands[@]} > 5)) || { echo "no commands found in padocut-cli --help"; exit 1; }
for command in "${commands[@]}"; do
  heading="^\\.SS \"padocut-cli $command[ :]"
  if ! grep -qE "$heading" "$page"; then
    echo "padocut-cli.1: no section for the command $command"
    status=1
    continue
  fi
  # The command's section: from its heading to the next one.
  section=$(awk -v head="$heading" '$0 ~ head { on = 1; print; next } /^\.S[SH] / { on = 0 } on' "$page")
  help=$("$cli" help "$command")
  for word in $(sed -n '/^Positionals:$/,/^$/p; /^Options:$/,/^$/p' <<<"$help" |
                grep -oE '^  (-[A-Za-z0-9],)?--?[A-Za-z0-9-]+|^  [A-Z][A-Z_]*' | sed 's/^  //; s/.*,//'); do
    case $word in --help | --quiet | --verbose) continue ;; esac
    grep -qF -- "$(roff "$word")" <<<"$section" || { echo "padocut-cli.1: $command lacks $word"; status=1; }
  done
done

if command -v groff >/dev/null; then
  for name in padocut-cli.1 padocut.1; do
    warnings=$(LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww -z "$build/man/$name" 2>&1 || true)
    [[ -z "$warnings" ]] || { echo "$name: $warnings"; status=1; }
  done
else
  echo "note: groff is not installed; the pages were not rendered"
fi
exit $status
