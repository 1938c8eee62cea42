#!/usr/bin/env bash
# Whole programs against their references, in one run, best of several:
#   letterwell-cli info per file (all files minus one file) beside fc-scan's
#   letterwell-cli families beside fc-list
#   letterwell from start to its main window shown, on a virtual X display
#
#   cli_bench.sh BIN_FOLDER [FONT_FOLDER]
set -euo pipefail

bin=${1:?usage: cli_bench.sh BIN_FOLDER [FONT_FOLDER]}
fonts=${2:-/usr/share/fonts}
runs=7
scratch=$(mktemp -d "${TMPDIR:-/tmp}/letterwell-bench-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

. "$(dirname "$0")/timing.sh"

find "$fonts" -type f \( -iname '*.ttf' -o -iname '*.otf' \) -print0 | sort -z >"$scratch/files"
count=$(tr -cd '\0' <"$scratch/files" | wc -c)
first=$(head -z -n 1 "$scratch/files" | tr -d '\0')
# One process for all files, as a user's own list of arguments would be.
info_all() { xargs -0 -s 1000000 "$bin/letterwell-cli" info <"$scratch/files"; }
scan_all() { xargs -0 -s 1000000 fc-scan --format '' <"$scratch/files"; }
info_all >/dev/null 2>&1 || true # warm the page cache
all=$(best_us info_all)
one=$(best_us "$bin/letterwell-cli" info "$first")
scan=$(best_us scan_all)
scan_one=$(best_us fc-scan --format '' "$first")
printf 'letterwell-cli info: %d files, %.1f us a file (all minus one); fc-scan %.1f us a file\n' \
  "$count" "$(echo "($all - $one) / $count" | bc -l)" "$(echo "($scan - $scan_one) / $count" | bc -l)"

families=$(best_us "$bin/letterwell-cli" families)
fclist=$(best_us fc-list)
printf 'letterwell-cli families: %.1f ms; fc-list %.1f ms (%.2fx)\n' \
  "$(echo "$families / 1000" | bc -l)" "$(echo "$fclist / 1000" | bc -l)" \
  "$(echo "$families / $fclist" | bc -l)"

# Start to a shown main window: a throw-away home each time (first start,
# the sheet opens too), the machine's own fonts.
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
  cat >"$scratch/start.sh" <<'EOF'
best=0
for _ in $(seq "$RUNS"); do
  home=$(mktemp -d "$SCRATCH/home-XXXXXX")
  start=$(date +%s%N)
  HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share "$BIN/letterwell" &
  pid=$!
  xdotool search --sync --onlyvisible --name '^Kestrova Letterwell$' >/dev/null
  end=$(date +%s%N)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  ms=$(((end - start) / 1000000))
  if [ "$best" -eq 0 ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
done
echo "letterwell start to main window shown: $best ms (best of $RUNS, Xvfb)"
EOF
  RUNS=$runs SCRATCH=$scratch BIN=$bin xvfb-run -a bash "$scratch/start.sh"
fi
