# Sourced by the file-form bench scripts: a work folder $work, removed at the end, and
# `run NAME COMMAND...`, one timed run that keeps the best wall time in best[NAME] and the
# highest peak resident memory (kB) in peak[NAME].
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
declare -A best peak
run() {
    local name=$1; shift
    /usr/bin/time -f '%e %M' -o "$work/time" "$@"
    local seconds kb
    read -r seconds kb <"$work/time"
    if [[ -z ${best[$name]:-} ]] || (($(echo "$seconds < ${best[$name]}" | bc))); then best[$name]=$seconds; fi
    if [[ -z ${peak[$name]:-} ]] || ((kb > ${peak[$name]})); then peak[$name]=$kb; fi
}
