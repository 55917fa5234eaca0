#!/usr/bin/env bash
# The random-XOR file forms of vorlen360-cli on an ASCII text and a Chinese GBK text of the same
# size, in one run: best wall time of several runs as MB of plaintext per second, and peak
# resident memory next to the input plus the output, the bound the file forms keep to.
# Usage: bench/rndxorfiles.sh CLI [MiB] [runs]     (work files in $TMPDIR, removed at the end)
set -euo pipefail
cli=${1:?usage: bench/rndxorfiles.sh path/to/vorlen360-cli [MiB] [runs]}
mib=${2:-64}
runs=${3:-3}
source "$(dirname "$0")/timedruns.sh"
bytes=$((mib << 20))
paragraph=$(printf %s '云盘资源获取器从分享搜索网站读取每一条分享的标题、文件数和提取码，用户可以复制链接或者导出到文本文件。' |
    iconv -f UTF-8 -t GBK)
(   # the writers at the head of these pipes end on SIGPIPE once head has enough
    set +o pipefail
    base64 -w 76 /dev/urandom | head -n $((bytes / 77)) >"$work/ascii.txt"
    yes "$paragraph" | head -n $((bytes / ($(printf %s "$paragraph" | wc -c) + 1))) >"$work/chinese.txt"
)

for text in ascii chinese; do
    plain=$work/$text.txt
    for ((i = 0; i < runs; i++)); do
        run "$text-encrypt" "$cli" rndxor encrypt-file --password pw "$plain" "$work/cipher"
        run "$text-decrypt" "$cli" rndxor decrypt-file --password pw "$work/back" "$work/cipher"
    done
    cmp -s "$plain" "$work/back" || { echo "$text: round trip differs" >&2; exit 1; }
    size=$(stat -c %s "$plain")
    bound=$(((size + $(stat -c %s "$work/cipher")) / 1024))
    for op in encrypt decrypt; do
        printf '%-7s %s %d bytes: %6.2f s %6.1f MB/s, peak %7d kB (input + output %d kB)\n' "$text" "$op" "$size" \
            "${best[$text-$op]}" "$(echo "$size / 1000000 / ${best[$text-$op]}" | bc -l)" "${peak[$text-$op]}" "$bound"
    done
done
