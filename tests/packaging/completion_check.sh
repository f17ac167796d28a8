#!/usr/bin/env bash
# The bash completion of padocut-cli: every command of padocut-cli --help and
# every option of each command's help is offered; operands get MP3 names (any
# case) and folders, never other files; --cue gets CUE sheets; help gets
# the commands.
#   completion_check.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
src=$1
cli=$2/padocut-cli
# shellcheck source=/dev/null
source "$src/packaging/completion/padocut-cli"
status=0

# Completes the words given (the last one is the word being typed).
complete_words() {
  COMP_WORDS=(padocut-cli "$@")
  COMP_CWORD=$#
  COMP_LINE="${COMP_WORDS[*]}"
  COMPREPLY=()
  _padocut_cli
  printf '%s\n' "${COMPREPLY[@]}" | sort
}

expect() {  # expect WHAT EXPECTED ACTUAL
  if [[ "$2" != "$3" ]]; then
    echo "$1: expected [${2//$'\n'/ }], got [${3//$'\n'/ }]"
    status=1
  fi
}

offered() {  # offered WORD LIST: WORD is one of LIST's lines
  grep -qxF -- "$1" <<<"$2"
}

mapfile -t commands < <("$cli" --help | sed -n '/^Subcommands:$/,/^$/{s/^  \([a-z][a-z-]*\) .*/\1/p}')
all=$(complete_words "")
for command in "${commands[@]}"; do
  offered "$command" "$all" || { echo "command $command is not offered"; status=1; }
  options=$(complete_words "$command" "-")
  for option in $("$cli" help "$command" | sed -n '/^Options:$/,/^$/p' | grep -oE '^  (-[A-Za-z0-9],)?--?[A-Za-z0-9-]+' |
                  tr ',' '\n' | sed 's/^ *//'); do
    offered "$option" "$options" || { echo "$command: option $option is not offered"; status=1; }
  done
done
expect "help" "$(printf '%s\n' "${commands[@]}" split | sort -u)" "$(complete_words help "")"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && mkdir folder && touch song.mp3 LOUD.MP3 notes.txt sheet.cue
expect "cut FILE" "$(printf '%s\n' LOUD.MP3 folder song.mp3)" "$(complete_words cut "")"
expect "cut FILE after an option with a value" "$(printf '%s\n' LOUD.MP3 folder song.mp3)" \
  "$(complete_words cut --tag-charset CP949 "")"
expect "cut START" "" "$(complete_words cut song.mp3 "")"
expect "cut END" "end" "$(complete_words cut song.mp3 1:00 "")"
expect "cut OUT" "song.mp3" "$(complete_words cut song.mp3 1:00 end s)"
expect "--cue" "$(printf '%s\n' folder sheet.cue)" "$(complete_words split --cue "")"
expect "after --" "$(printf '%s\n' LOUD.MP3 folder song.mp3)" "$(complete_words info -- "")"
exit $status
