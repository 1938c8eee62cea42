# Sourced by the shell benchmarks: the best wall time of a command over
# $runs runs, in microseconds (what it prints and its status are ignored).
now() { date +%s%N; }
best_us() {
  local best=0 start end
  for _ in $(seq "$runs"); do
    start=$(now); "$@" >/dev/null 2>&1 || true; end=$(now)
    local us=$(((end - start) / 1000))
    if [ "$best" -eq 0 ] || [ "$us" -lt "$best" ]; then best=$us; fi
  done
  echo "$best"
}
