#!/usr/bin/env bash
# Runs the same commands through the Linux vellonix-cli and the Windows one
# (under Wine), each on images in a folder "Дискеты" of its own, and
# compares everything they wrote and printed byte for byte.
#   same_as_linux.sh LINUX_CLI WINDOWS_CLI EMULATOR
set -euo pipefail
linux_cli=$(realpath "$1")
windows_cli=$(realpath "$2")
emulator=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=1700000000 TZ=UTC
# Wine passes the command line in the Linux locale's encoding; the names
# here are outside ASCII.
export LC_ALL=C.UTF-8

# The host files both programs add: text with a name outside ASCII, and
# data of several sectors.
mkdir -p "$work/input"
printf 'Grüße aus dem Wirt\r\nLine two\n' >"$work/input/Ökö.txt"
seq 1 4000 >"$work/input/data.bin"

# Wine gives the root of the Linux file system the drive Z:.
windows_path() {
  local path=${1//\//\\}
  printf 'Z:%s' "$path"
}

# scenario SIDE PATH-FORM PROGRAM...: the commands, in SIDE/Дискеты.
scenario() {
  local side=$1 form=$2
  shift 2
  local folder="$work/$side/Дискеты"
  mkdir -p "$folder/aus"
  cp "$work/input/"* "$folder/"
  local image disk_copy sad text data named
  image=$($form "$folder/Ökö.mgt")
  sad=$($form "$folder/Ökö.sad")
  disk_copy=$($form "$folder/Копия.mgt")
  text=$($form "$folder/Ökö.txt")
  data=$($form "$folder/data.bin")
  named=$($form "$folder/aus/данные.bin")
  local -a cli=("$@")
  step() {
    if ! "${cli[@]}" "$@"; then
      echo "$side: vellonix-cli $* failed" >&2
      exit 1
    fi
  }
  step new --format masterdos --name "Ökö" "$image"
  step add "$image" "$text" "$data"
  step ls --json "$image" >"$work/$side/ls.json"
  step ls "$image" >"$work/$side/ls.txt"
  (cd "$folder/aus" && step extract "$image" 1)
  step extract "$image" 2 "$named"
  step convert "$image" "$sad"
  step convert "$sad" "$disk_copy"
}

scenario linux echo "$linux_cli"
scenario windows windows_path "$emulator" "$windows_cli"

if ! diff -r "$work/linux" "$work/windows"; then
  echo "The Windows program wrote or printed something else than the Linux one" >&2
  exit 1
fi
echo "same bytes from both programs: $(cd "$work/linux" && find . -type f | sort | tr '\n' ' ')"
