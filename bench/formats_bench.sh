#!/usr/bin/env bash
# The not-installed page's list of Type 1 and collection folders beside
# fc-scan reading the same files, in one run, best of several: each side one
# process for all files, less the same program's start on an empty folder
# (letterwell-cli list) or on no file (fc-scan).
#
#   formats_bench.sh BIN_FOLDER [TYPE1_FOLDER]
set -euo pipefail

bin=${1:?usage: formats_bench.sh BIN_FOLDER [TYPE1_FOLDER]}
type1=${2:-/usr/share/fonts/X11/Type1}
runs=7
scratch=$(mktemp -d "${TMPDIR:-/tmp}/letterwell-formats-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

. "$(dirname "$0")/timing.sh"

mkdir -p "$scratch/empty" "$scratch/collections"
# Every collection of the machine, gathered in one folder as links.
find /usr/share/fonts -type f \( -iname '*.ttc' -o -iname '*.otc' \) -print0 |
  while IFS= read -r -d '' file; do
    ln -s "$file" "$scratch/collections/$(basename "$file")"
  done

compare() {
  local name=$1 folder=$2
  # The files list takes: the pair's metrics file stands for its outline, so
  # fc-scan is given the outline files the list reads.
  find "$folder" -maxdepth 1 \( -type f -o -type l \) \( -iname '*.ttc' -o -iname '*.otc' \
    -o -iname '*.pfb' -o -iname '*.pfa' \) -print0 | sort -z >"$scratch/files"
  local count
  count=$(tr -cd '\0' <"$scratch/files" | wc -c)
  if [ "$count" -eq 0 ]; then
    echo "$name: no files"
    return
  fi
  list_all() { "$bin/letterwell-cli" list "$folder"; }
  scan_all() { xargs -0 -s 1000000 fc-scan --format '%{family}\n' <"$scratch/files"; }
  list_all >/dev/null 2>&1 || true # warm the page cache
  local list empty scan bare
  list=$(best_us list_all)
  empty=$(best_us "$bin/letterwell-cli" list "$scratch/empty")
  scan=$(best_us scan_all)
  bare=$(best_us fc-scan --format '' /dev/null)
  local ours=$((list - empty)) theirs=$((scan - bare))
  printf '%s: %d files; letterwell-cli list %.1f ms, fc-scan %.1f ms (%.2fx), start-up removed\n' \
    "$name" "$count" "$(echo "$ours / 1000" | bc -l)" "$(echo "$theirs / 1000" | bc -l)" \
    "$(echo "$ours / $theirs" | bc -l)"
}

compare "$type1" "$type1"
compare "every collection" "$scratch/collections"
