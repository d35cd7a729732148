#!/usr/bin/env bash
# Times vordo against sdcv on the same FreeDict English-Czech data (a
# StarDict copy written by bench/freedict_to_stardict.py): whole processes
# for single queries, and batches on standard input (every word of GPL-3 as
# it stands, and its distinct words). Prints each median and vordo's time as
# a share of sdcv's. Needs Debian's sdcv and hyperfine.
# Usage: bench/compare_sdcv.sh [VORDO [DIC_BIN]]   (default build/vordo, build/dic.bin)
set -euo pipefail
cd "$(dirname "$0")/.."
vordo=$(realpath "${1:-build/vordo}")
dictionary=$(realpath "${2:-build/dic.bin}")
for tool in sdcv hyperfine python3; do
  command -v "$tool" > /dev/null || { echo "compare_sdcv.sh: $tool is missing (apt-get install sdcv hyperfine)" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 bench/freedict_to_stardict.py "$work/stardict" > /dev/null
tr -s ' \t\n' '\n' < /usr/share/common-licenses/GPL-3 | sed '/^$/d' > "$work/tokens"
sort -u "$work/tokens" > "$work/distinct"

# Runs one comparison with hyperfine and prints both medians and the share.
compare() {
  local what=$1 ours=$2 theirs=$3
  hyperfine -N --warmup 3 --runs "${RUNS:-40}" --export-json "$work/times.json" \
    --command-name vordo "$ours" --command-name sdcv "$theirs" > /dev/null 2>&1 ||
    hyperfine --warmup 3 --runs "${RUNS:-40}" --export-json "$work/times.json" \
      --command-name vordo "$ours" --command-name sdcv "$theirs" > /dev/null
  python3 - "$what" "$work/times.json" <<'PY'
import json, sys
what, path = sys.argv[1], sys.argv[2]
times = {r["command"]: r["median"] * 1000 for r in json.load(open(path))["results"]}
print(f"{what:<32} vordo {times['vordo']:8.2f} ms   sdcv {times['sdcv']:8.2f} ms   "
      f"vordo/sdcv {times['vordo'] / times['sdcv']:.2f}")
PY
}

for query in license went "hot dog" the of; do
  compare "\"$query\", one process" "$vordo lookup --raw --dict $dictionary '$query'" \
    "sdcv --data-dir $work/stardict -n -e '$query'"
done
# sdcv reads standard input only without -n.
RUNS=${BATCH_RUNS:-10} compare "GPL-3, $(wc -l < "$work/tokens") words" \
  "sh -c '$vordo lookup --raw --dict $dictionary < $work/tokens > /dev/null'" \
  "sh -c 'sdcv -x -e -2 $work/stardict < $work/tokens > /dev/null'"
RUNS=${BATCH_RUNS:-10} compare "GPL-3, $(wc -l < "$work/distinct") distinct words" \
  "sh -c '$vordo lookup --raw --dict $dictionary < $work/distinct > /dev/null'" \
  "sh -c 'sdcv -x -e -2 $work/stardict < $work/distinct > /dev/null'"
