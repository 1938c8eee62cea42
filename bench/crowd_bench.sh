#!/usr/bin/env bash
# Letterwell on a crowd of 5,000 families (20,000 files in four styles)
# against its references, side by side in one run, one line an aim:
#   1 start to the main window shown, warm fontconfig cache (font-manager)
#   2 a first start with the crowd's cache cold (its folder touched): the
#     window against fc-list's scan
#   3 the sheet scrolled, resized and given columns      (crowd_bench)
#   4 find, category views, find in categories, filter   (crowd_bench)
#   5 memory with the sheet open, the crowd against this machine's fonts
#     (and after the sheet drew every family: crowd_bench)
#   6 letterwell-cli families against fc-list
#
#   crowd_bench.sh BIN_FOLDER [CROWD_FOLDER]
#
# The crowd is made once by ../shared/scripts/make-font-crowd.py (it needs
# python3-fonttools) in CROWD_FOLDER, $TMPDIR/letterwell-crowd by default,
# and used again when it is there. Every start has a settings folder of its
# own; starts are timed from exec to the program's first paint (it prints
# the clock when LETTERWELL_START_TIMES is set), font-manager's to its window
# being visible (polled every 10 ms), best of several.
set -euo pipefail

bin=$(cd "${1:?usage: crowd_bench.sh BIN_FOLDER [CROWD_FOLDER]}" && pwd)
crowd=${2:-${TMPDIR:-/tmp}/letterwell-crowd}
here=$(cd "$(dirname "$0")" && pwd)
maker=$here/../../shared/scripts/make-font-crowd.py
families=5000
runs=5
scratch=$(mktemp -d "${TMPDIR:-/tmp}/letterwell-crowd-bench-XXXXXX")
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$scratch"' EXIT

. "$here/timing.sh"

if [ "$(find "$crowd/fonts" -maxdepth 1 -name '*.ttf' 2>/dev/null | wc -l)" -lt $((4 * families)) ]; then
  if ! /usr/bin/python3 -c 'import fontTools' 2>/dev/null || [ ! -f "$maker" ]; then
    echo "crowd: none in $crowd, and $maker or python3-fonttools is missing: nothing measured"
    exit 0
  fi
  echo "crowd: making $families families in $crowd/fonts (once)"
  /usr/bin/python3 "$maker" "$crowd/fonts" "$families" >/dev/null
fi
mkdir -p "$crowd/home/.local/share" "$crowd/cache"
ln -sfn "$crowd/fonts" "$crowd/home/.local/share/fonts"
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -p "$XDG_RUNTIME_DIR" "$scratch/small/home" "$scratch/small/cache" && chmod 700 "$XDG_RUNTIME_DIR"
# A home: the crowd's (warm cache), or this machine's fonts alone.
in_crowd() (
  export HOME=$crowd/home XDG_CACHE_HOME=$crowd/cache XDG_CONFIG_HOME=$scratch/config
  "$@"
)
in_small() (
  export HOME=$scratch/small/home XDG_CACHE_HOME=$scratch/small/cache XDG_CONFIG_HOME=$scratch/config
  "$@"
)
in_crowd fc-cache >/dev/null 2>&1 || true
in_small fc-cache >/dev/null 2>&1 || true
faces=$(in_crowd fc-list | wc -l)
small_faces=$(in_small fc-list | wc -l)
echo "crowd: $(in_crowd fc-list : family | sort -u | wc -l) families, $faces faces; this machine alone: $small_faces faces"

verdict() { if [ "$1" = 1 ]; then echo "met"; else echo "NOT MET"; fi; }
ms() { echo $(((${2} - ${1}) / 1000000)); }

# The starts run on a virtual display with a window manager.
cat >"$scratch/starts.sh" <<'INNER'
set -u
openbox --sm-disable >/dev/null 2>&1 &
sleep 1
# One start of letterwell: "SHOWN LISTED RSS_KB" (ms from exec), the memory
# taken 3 s after the families were listed (the sheet is open at a first start).
start_letterwell() {
  local home=$1 cache=$2 out=$SCRATCH/times start pid shown listed rss
  local config; config=$(mktemp -d "$SCRATCH/config-XXXXXX")
  : >"$out"
  start=$(date +%s%N)
  LETTERWELL_START_TIMES=1 HOME=$home XDG_CACHE_HOME=$cache XDG_CONFIG_HOME=$config \
    "$BIN/letterwell" >"$out" 2>/dev/null &
  pid=$!
  for _ in $(seq 6000); do grep -q listed "$out" && break; sleep 0.01; done
  sleep 3
  rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
  kill $pid; wait $pid 2>/dev/null
  shown=$(awk '/shown/ {print $2}' "$out"); listed=$(awk '/listed/ {print $2}' "$out")
  echo "$(((shown - start) / 1000000)) $(((listed - start) / 1000000)) $rss"
  rm -rf "$config"
}
# One start of font-manager: ms from exec to its window visible.
start_font_manager() {
  local config start pid id
  config=$(mktemp -d "$SCRATCH/config-XXXXXX")
  start=$(date +%s%N)
  HOME=$CROWD/home XDG_CACHE_HOME=$CROWD/cache XDG_CONFIG_HOME=$config font-manager >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 6000); do
    id=$(xdotool search --onlyvisible --name '^Font Manager$' 2>/dev/null | head -1)
    [ -n "$id" ] && break
    sleep 0.01
  done
  echo $((($(date +%s%N) - start) / 1000000))
  kill $pid; wait $pid 2>/dev/null
  rm -rf "$config"
}
best() { sort -n | head -1; }
for _ in $(seq "$RUNS"); do start_letterwell "$CROWD/home" "$CROWD/cache"; done >"$SCRATCH/warm"
if command -v font-manager >/dev/null; then
  start_font_manager >/dev/null # its own first run builds its database
  for _ in $(seq "$RUNS"); do start_font_manager; done >"$SCRATCH/font-manager"
fi
# fontconfig keeps the crowd's cache where it can write (as root, beside the
# system's): a folder changed since its cache was written is scanned again.
for _ in 1 2; do
  touch "$CROWD/fonts"
  start_letterwell "$CROWD/home" "$CROWD/cache"
done >"$SCRATCH/cold"
for _ in $(seq "$RUNS"); do start_letterwell "$SMALL/home" "$SMALL/cache"; done >"$SCRATCH/small-starts"
INNER
RUNS=$runs SCRATCH=$scratch BIN=$bin CROWD=$crowd SMALL=$scratch/small \
  xvfb-run -a -s "-screen 0 1600x1200x24" bash "$scratch/starts.sh"

shown=$(awk '{print $1}' "$scratch/warm" | sort -n | head -1)
listed=$(awk '{print $2}' "$scratch/warm" | sort -n | head -1)
if [ -s "$scratch/font-manager" ]; then
  fm=$(sort -n "$scratch/font-manager" | head -1)
  met=$([ "$shown" -le 500 ] && [ $((shown * 4)) -lt "$fm" ] && echo 1 || echo 0)
  echo "aim 1 start to main window shown (warm): $shown ms (families listed $listed ms); font-manager $fm ms; at most 500 ms and under a quarter: $(verdict "$met")"
else
  echo "aim 1 start to main window shown (warm): $shown ms (families listed $listed ms); font-manager is not installed, the quarter is not measured: NOT MET"
fi

touch "$crowd/fonts"
start=$(now)
in_crowd fc-list >/dev/null 2>&1
scan=$(ms "$start" "$(now)")
cold_shown=$(awk '{print $1}' "$scratch/cold" | sort -n | head -1)
cold_listed=$(awk '{print $2}' "$scratch/cold" | sort -n | head -1)
met=$([ "$cold_shown" -le 500 ] && [ "$cold_shown" -lt "$scan" ] && echo 1 || echo 0)
echo "aim 2 cold fontconfig cache: window shown $cold_shown ms, families listed $cold_listed ms; fc-list on a cold cache $scan ms; shown at once, not after the scan: $(verdict "$met")"

in_crowd "$bin/crowd_bench"

rss=$(awk '{print $3}' "$scratch/warm" | sort -n | head -1)
small_rss=$(awk '{print $3}' "$scratch/small-starts" | sort -n | head -1)
fc_rss=$(in_crowd /usr/bin/time -f %M fc-list 2>&1 >/dev/null | tail -1)
small_fc_rss=$(in_small /usr/bin/time -f %M fc-list 2>&1 >/dev/null | tail -1)
growth=$(((rss - small_rss) - (fc_rss - small_fc_rss)))
met=$([ "$rss" -lt $((150 * 1024)) ] && [ "$growth" -lt $((30 * 1024)) ] && echo 1 || echo 0)
echo "aim 5 memory with the sheet open: $((rss / 1024)) MB at $faces faces, $((small_rss / 1024)) MB at $small_faces; fc-list $((fc_rss / 1024)) MB and $((small_fc_rss / 1024)) MB; growth beyond fontconfig's $((growth / 1024)) MB; under 150 MB and 30 MB: $(verdict "$met")"

runs=9
cli=$(in_crowd best_us "$bin/letterwell-cli" families)
fclist=$(in_crowd best_us fc-list)
met=$([ $((cli * 10)) -le $((fclist * 12)) ] && echo 1 || echo 0)
printf 'aim 6 letterwell-cli families: %.1f ms; fc-list %.1f ms (%.2fx); within 1.2x: %s\n' \
  "$(echo "$cli / 1000" | bc -l)" "$(echo "$fclist / 1000" | bc -l)" \
  "$(echo "$cli / $fclist" | bc -l)" "$(verdict "$met")"
