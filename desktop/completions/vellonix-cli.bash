# bash completion for vellonix-cli: its commands, their options and option
# values, and disk images (.mgt, .sad, any case) where a command takes one.
# Loaded by bash-completion from share/bash-completion/completions.

_vellonix_cli() {
  local cur prev words cword
  _init_completion || return

  # The command (and the action of disk and integration) and how many
  # arguments stand before the one at the cursor.
  local command="" action="" arguments=0 i word
  for ((i = 1; i < cword; i++)); do
    word=${words[i]}
    case $word in
      --format | --name | --type | --lines | --device | --icon | --mgt | --sad | --desktop | --quick-launch | \
        --start-menu | --send-to | --program-group) ((i++)) ;;
      -*) ;;
      *)
        if [[ -z $command ]]; then
          command=$word
        elif [[ -z $action && ($command == disk || $command == integration) ]]; then
          action=$word
        else
          ((arguments++))
        fi
        ;;
    esac
  done

  case $prev in
    --format) COMPREPLY=($(compgen -W "sam-dos masterdos b-dos" -- "$cur")); return ;;
    --icon) COMPREPLY=($(compgen -W "0 1 2" -- "$cur")); return ;;
    --mgt | --sad | --desktop | --quick-launch | --start-menu | --send-to | --program-group)
      COMPREPLY=($(compgen -W "on off" -- "$cur")); return ;;
    --device) _filedir; return ;;
    --name | --type | --lines) return ;;
  esac

  # Each command's options, and what its arguments are in order (image,
  # file, or - for text); a last kind ending in ... takes the rest.
  local options="" kinds=""
  case $command in
    "") options="--version"; kinds="command" ;;
    ls) options="--json"; kinds="image..." ;;
    find) options="--json --type"; kinds="- file..." ;;
    basic) options="--lines"; kinds="image -" ;;
    screen) options="--native"; kinds="image - file" ;;
    import) options="--force"; kinds="file image" ;;
    convert) options="--force"; kinds="image image" ;;
    new) options="--format --name --force"; kinds="image" ;;
    add) kinds="image file..." ;;
    extract) kinds="image - file" ;;
    rm) kinds="image -" ;;
    rename) kinds="image - -" ;;
    label) kinds="image -" ;;
    disk)
      if [[ -z $action ]]; then
        kinds="read/write"
      else
        options="--device"; kinds="image"
        [[ $action == read ]] && options+=" --force"
      fi ;;
    integration)
      if [[ -z $action ]]; then
        options="--json"; kinds="set"
      else
        options="--mgt --sad --icon --desktop --quick-launch --start-menu --send-to --program-group"
      fi ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
    return
  fi
  local -a list=($kinds)
  local kind=${list[arguments]:-}
  if [[ -z $kind && ${list[-1]:-} == *... ]]; then kind=${list[-1]}; fi
  case ${kind%...} in
    command) COMPREPLY=($(compgen -W "ls find basic screen import convert new add extract rm rename label disk integration" -- "$cur")) ;;
    read/write) COMPREPLY=($(compgen -W "read write" -- "$cur")) ;;
    set) COMPREPLY=($(compgen -W "set" -- "$cur")) ;;
    image) _filedir '@(mgt|sad)' ;;
    file) _filedir ;;
  esac
}
complete -F _vellonix_cli vellonix-cli
