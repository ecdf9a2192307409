#!/usr/bin/env bash
# The shell completions of vellonix-cli at work, in a folder holding an
# image of each kind, another file and a subfolder: bash's through
# bash-completion, fish's through its own `complete -C`; zsh's is read for
# its syntax (driving zsh's completion needs a terminal).
#   completion_test.sh COMPLETIONS-DIR
# No -e or -u: bash-completion is not written for them.
set -o pipefail
dir=$(realpath "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/vellonix-completion-XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch a.mgt B.SAD c.txt
mkdir sub

failures=0
expect() {  # expect SHELL LINE EXPECTED ACTUAL
  [ "$3" = "$4" ] || { echo "FAILED: $1 '$2': expected '$3', got '$4'" >&2; failures=$((failures + 1)); }
}
cases=(  # what is typed | the completions offered, sorted
  "vellonix-cli l|label ls"
  "vellonix-cli ls |B.SAD a.mgt sub"
  "vellonix-cli ls a.mgt |B.SAD a.mgt sub"
  "vellonix-cli ls --|--help --json"
  "vellonix-cli add a.mgt |B.SAD a.mgt c.txt sub"
  "vellonix-cli rm a.mgt |"
  "vellonix-cli new --format |b-dos masterdos sam-dos"
  "vellonix-cli new --force |B.SAD a.mgt sub"
  "vellonix-cli disk |read write"
  "vellonix-cli disk read --device /dev/null |B.SAD a.mgt sub"
  "vellonix-cli integration set --start-menu |off on"
)

if [ -f /usr/share/bash-completion/bash_completion ]; then
  # shellcheck source=/dev/null
  source /usr/share/bash-completion/bash_completion
  # shellcheck source=/dev/null
  source "$dir/vellonix-cli.bash"
  for case in "${cases[@]}"; do
    line=${case%%|*}
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMP_LINE=$line COMP_POINT=${#line} COMPREPLY=()
    _vellonix_cli vellonix-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    expect bash "$line" "${case#*|}" "$(printf '%s\n' "${COMPREPLY[@]}" | sed 's|/$||' | LC_ALL=C sort | xargs)"
  done
else
  echo "bash-completion is not installed: bash's completion not tried"
fi

if command -v fish >/dev/null; then
  for case in "${cases[@]}"; do
    line=${case%%|*}
    offered=$(fish --no-config -c "source '$dir/vellonix-cli.fish'; complete -C '$line'" | cut -f1 | sed 's|/$||' |
      sed 's|^.* ||' | LC_ALL=C sort -u | xargs)
    expect fish "$line" "${case#*|}" "$offered"
  done
else
  echo "fish is not installed: its completion not tried"
fi

if command -v zsh >/dev/null; then
  zsh -n "$dir/_vellonix-cli" || { echo "FAILED: zsh cannot read _vellonix-cli" >&2; failures=$((failures + 1)); }
fi
[ "$failures" -eq 0 ] && echo "completion checks passed"
exit $((failures != 0))
