#!/usr/bin/env bash
# The Base64 file forms of vorlen360-cli next to coreutils base64 on the same random file, in
# one run: best wall time of several alternating runs, peak resident memory, and the ratio.
# Usage: bench/base64files.sh CLI [MiB] [runs]     (work files in $TMPDIR, removed at the end)
set -euo pipefail
cli=${1:?usage: bench/base64files.sh path/to/vorlen360-cli [MiB] [runs]}
mib=${2:-256}
runs=${3:-3}
source "$(dirname "$0")/timedruns.sh"
head -c $((mib << 20)) /dev/urandom >"$work/plain"

for ((i = 0; i < runs; i++)); do
    run ours-encode "$cli" base64 encode-file "$work/plain" "$work/ours.b64"
    run coreutils-encode sh -c "base64 -w0 '$work/plain' >'$work/coreutils.b64'"
    run ours-decode "$cli" base64 decode-file "$work/ours.back" "$work/ours.b64"
    run coreutils-decode sh -c "base64 -d '$work/coreutils.b64' >'$work/coreutils.back'"
done
cmp -s "$work/ours.b64" "$work/coreutils.b64" || { echo "encode: outputs differ" >&2; exit 1; }
cmp -s "$work/ours.back" "$work/plain" || { echo "decode: round trip differs" >&2; exit 1; }
echo "${mib} MiB, best of ${runs}"
for op in encode decode; do
    printf '%-7s ours %6.2f s %7d kB   coreutils %6.2f s   ratio %.2f\n' "$op" "${best[ours-$op]}" \
        "${peak[ours-$op]}" "${best[coreutils-$op]}" "$(echo "${best[ours-$op]} / ${best[coreutils-$op]}" | bc -l)"
done
