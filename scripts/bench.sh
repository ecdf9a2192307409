#!/usr/bin/env bash
# Times vellonix-cli against cat and against vellonix-floor (each file with
# one read into a static buffer; an image with one write and a flush), with
# hyperfine, in a release build in build-bench/, and prints every ratio
# beside its goal:
#   ls of one image                                         <= 1.2 x cat
#   ls --json of COUNT generated images, warm               <= 0.8 x cat
#     and cold (page cache dropped before each run)         <= 0.7 x cat
#   find over the same folders, warm and cold               the same
#   disk write of an image to an image file (the drive)     <= 2 x one write and a flush
# then the instructions each program runs for one image (callgrind, user
# space only), which a loaded machine does not change, and the most memory
# the largest listing takes.
#   scripts/bench.sh [COUNT...]   (default: 1000 10000)
# The images are made once, in build-bench/images-COUNT (10,000 take 8 GB),
# under short names: hyperfine takes each command line as one argument,
# which Linux limits to 128 KiB, so up to about 12,000 images fit.
# Dropping the page cache needs root; without it the cold lines say so.
# Ratios are of means measured in one hyperfine run, so that what else the
# machine runs weighs on both sides alike: compare ratios, not times.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --bench
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(1000 10000)

build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELLONIX_BUILD_TESTS=OFF -DVELLONIX_BUILD_GUI=OFF \
  -DVELLONIX_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target vellonix-cli vellonix-floor vellonix-bench-images >/dev/null
base="$PWD/$build"
cli="$base/cli/vellonix-cli"
floor="$base/bench/vellonix-floor"
results="$base/results"
mkdir -p "$results"

drop_caches="bash -c 'sync && echo 3 >/proc/sys/vm/drop_caches'"
cold=yes
eval "$drop_caches" 2>/dev/null || cold=

echo "== Machine"
echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), " \
  "$(awk '/MemTotal/ {printf "%.0f GB", $2 / 1048576}' /proc/meminfo), Linux $(uname -r)"
echo "images on: $(df -T "$build" | awk 'NR == 2 {print $1, $2}')"
echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
[ -n "$cold" ] || echo "cold runs: not measured, dropping the page cache is not permitted here"

# The ratios of the first command's mean wall-clock and CPU (user + system)
# time to the second's (cat) and the third's (the floor), and the goal.
printf '\n%-34s %10s %10s %10s  %-13s %-13s %s\n' "" vellonix cat floor "x cat" "x floor" "goal"
printf '%-34s %10s %10s %10s  %-13s %-13s %s\n' "" "(mean)" "(mean)" "(mean)" "(wall / CPU)" "(wall / CPU)" ""
report() {
  local title=$1 goal=$2 against=$3 json=$4
  jq -r '.results[] | [.mean, .user + .system] | @tsv' "$json" | paste -s - |
    awk -v title="$title" -v goal="$goal" -v against="$against" '{
      cat = against == "cat"; goalOf = cat ? $1 / $3 : $1 / $5
      printf "%-34s %8.2f ms %8.2f ms %8.2f ms  %5.2f / %-5.2f %5.2f / %-5.2f <= %s x %s: %s\n", title,
        $1 * 1000, $3 * 1000, $5 * 1000, $1 / $3, $2 / $4, $1 / $5, $2 / $6, goal, against,
        goalOf <= goal ? "met" : "NOT met"
    }'
}

# hyperfine NAME RUNS PREPARE... -- COMMAND...: the commands timed in one run.
time_commands() {
  local name=$1 runs=$2
  shift 2
  local prepare=()
  while [ "$1" != -- ]; do prepare+=("$1"); shift; done
  shift
  # Its warnings of outliers go to a file: on a shared machine they come
  # every time, and the ratios are what counts.
  hyperfine -N --style none --warmup "$([ ${#prepare[@]} -gt 0 ] && echo 0 || echo 2)" --runs "$runs" \
    "${prepare[@]}" --export-json "$results/$name.json" "$@" >/dev/null 2>"$results/$name.log" ||
    { cat "$results/$name.log" >&2; exit 1; }
}

for count in "${counts[@]}"; do
  images="$base/images-$count"
  if [ "$(cat "$images/.made" 2>/dev/null)" != "$count" ] || [ ! -f "$images/00000.mgt" ]; then
    rm -rf "$images"
    mkdir -p "$images"
    "$base/bench/vellonix-bench-images" "$images" "$count"
    echo "$count" >"$images/.made"
  fi
done

cd "$base/images-${counts[0]}"
one=00000.mgt
time_commands one 300 -- "$cli ls $one" "cat $one" "$floor read $one"
report "ls of one image" 1.2 cat "$results/one.json"

for count in "${counts[@]}"; do
  cd "$base/images-$count"
  files=$(printf '%s ' [0-9]*)
  label=$(printf "%'d" "$count")
  runs=$((count >= 10000 ? 5 : 15))
  time_commands "ls-$count" "$runs" -- "$cli ls --json $files" "cat $files" "$floor read $files"
  report "ls --json of $label images, warm" 0.8 cat "$results/ls-$count.json"
  time_commands "find-$count" "$runs" -- "$cli find file1* ." "cat $files" "$floor read $files"
  report "find in $label images, warm" 0.8 cat "$results/find-$count.json"
  [ -n "$cold" ] || continue
  runs=$((count >= 10000 ? 3 : 5))
  time_commands "ls-$count-cold" "$runs" --prepare "$drop_caches" -- \
    "$cli ls --json $files" "cat $files" "$floor read $files"
  report "ls --json of $label images, cold" 0.7 cat "$results/ls-$count-cold.json"
  time_commands "find-$count-cold" "$runs" --prepare "$drop_caches" -- \
    "$cli find file1* ." "cat $files" "$floor read $files"
  report "find in $label images, cold" 0.7 cat "$results/find-$count-cold.json"
done

cd "$base/images-${counts[0]}"
cp 00001.mgt drive.mgt
cp 00001.mgt floor.mgt
time_commands write 30 -- "$cli disk write --device drive.mgt $one" "cat $one" "$floor write floor.mgt"
report "disk write to an image file" 2 floor "$results/write.json"
rm -f drive.mgt floor.mgt

echo
echo "== Instructions for one image (callgrind, user space only)"
for program in vellonix-cli cat vellonix-floor; do
  case $program in
    vellonix-cli) command=("$cli" ls "$one") ;;
    cat) command=(cat "$one") ;;
    *) command=("$floor" read "$one") ;;
  esac
  instructions=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null "${command[@]}" 2>&1 >/dev/null |
    awk '/Collected/ {print $NF}')
  printf '%-16s %12s\n' "$program" "$(printf "%'d" "$instructions")"
done

cd "$base/images-${counts[-1]}"
echo
echo "== Most memory taken by ls --json of $(printf "%'d" "${counts[-1]}") images: $(
  /usr/bin/time -f '%M' "$cli" ls --json -- [0-9]* 2>&1 >/dev/null | tail -1) KB"
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
