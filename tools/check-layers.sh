#!/usr/bin/env bash
# Checks the include graph against the layers, from the bottom up:
#   files, core, cpu, debugger, panel, panel/window, debugger/window, app,
#   cli, asm
# A file includes only its own folder's files and those of lower layers; the
# window-free folders (all but the window/ folders and app/) include no Qt
# header and nothing from a window/ folder or app/. Exits 1 and lists every
# include that breaks a rule.
set -euo pipefail
cd "$(dirname "$0")/.."

layers=(files core cpu debugger panel panel/window debugger/window app cli asm)

# Includes that break a rule on purpose, as "including-file included-file",
# each with its reason. None today.
allowed=(
)

# The layer of a path: its folder, window/ folders apart. Empty outside the layers.
layer_of() {
    local path=$1 layer
    for layer in "${layers[@]}"; do
        case $path in "$layer"/window/*) ;; "$layer"/*) echo "$layer"; return ;; esac
    done
}
rank_of() {
    local i
    for i in "${!layers[@]}"; do [[ ${layers[$i]} == "$1" ]] && echo "$i" && return; done
}
windowed() { [[ $1 == */window || $1 == app ]]; }

found=0
report() {
    local pair="$1 $2" exception
    for exception in "${allowed[@]+"${allowed[@]}"}"; do [[ $exception == "$pair" ]] && return; done
    echo "$1: $3" >&2
    found=1
}

while IFS= read -r file; do
    from=$(layer_of "$file")
    [[ -n $from ]] || continue
    while IFS= read -r line; do
        if [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<(Q[A-Za-z]*|qt[a-z]*)[/\>] ]]; then
            windowed "$from" || report "$file" "${BASH_REMATCH[1]}" "includes the Qt header <${line#*<}"
        elif [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
            included=${BASH_REMATCH[1]}
            # A name without a folder is the including file's own neighbour.
            [[ $included == */* ]] || continue
            to=$(layer_of "$included")
            [[ -n $to ]] || continue
            if ! windowed "$from" && windowed "$to"; then
                report "$file" "$included" "a window-free file includes \"$included\" from $to"
            elif (( $(rank_of "$to") > $(rank_of "$from") )); then
                report "$file" "$included" "$from includes \"$included\" from the higher layer $to"
            fi
        fi
    done < "$file"
done < <(git ls-files --cached --others --exclude-standard -- "${layers[@]/%//*.h}" "${layers[@]/%//*.cpp}" 2>/dev/null || true)

if (( found )); then
    echo "check-layers: includes against the layers (tools/check-layers.sh)" >&2
    exit 1
fi
echo "check-layers: every include keeps to the layers"
