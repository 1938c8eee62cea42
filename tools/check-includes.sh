#!/usr/bin/env bash
# Fails when a source file includes a folder that lies above its own: the
# layers, bottom-up, are the order below, and a file may include only its own
# folder and the folders before it. The Linux adapters are the exception in
# the other direction: everything else reaches the system through the ports,
# so only the adapters themselves and the programs' tops (app, cli), which
# put the adapters in place, include them.
set -euo pipefail
src=${1:-src}
layers=(platform base platform/linux fileops fonts controls categories printing pages sheets options app cli)

rank() {
    local i
    for i in "${!layers[@]}"; do
        if [ "${layers[$i]}" = "$1" ]; then
            echo "$i"
            return
        fi
    done
    echo -1
}

adapter_user() {
    case "$1" in
    platform/linux | app | cli) return 0 ;;
    *) return 1 ;;
    esac
}

status=0
while IFS= read -r -d '' file; do
    folder=$(dirname "${file#"$src"/}")
    own=$(rank "$folder")
    if [ "$own" -lt 0 ]; then
        echo "$file: its folder $folder is not one of the layers" >&2
        status=1
        continue
    fi
    line_number=0
    while IFS= read -r line; do
        line_number=$((line_number + 1))
        [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
        included=${BASH_REMATCH[1]}
        [[ $included == */* ]] || continue
        other=$(rank "$(dirname "$included")")
        if [ "$other" -gt "$own" ]; then
            echo "$file:$line_number: $folder includes $included, a layer above it" >&2
            status=1
        elif [[ $included == platform/linux/* ]] && ! adapter_user "$folder"; then
            echo "$file:$line_number: $folder includes the adapter $included instead of a port" >&2
            status=1
        fi
    done <"$file"
done < <(find "$src" \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
[ "$status" -eq 0 ] && echo "includes point down the layers"
exit "$status"
