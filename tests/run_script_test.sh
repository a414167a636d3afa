#!/usr/bin/env bash
# scripts/run without a display: it presses the button itself and leaves the four listings, named
# in UTF-8 on the Linux side exactly as the program names them, and the screenshot.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
folder="$top/build/run/drive-d/示例文件夹"
env -u DISPLAY "$top/scripts/run" >"$top/build/run-script.log" 2>&1 || { cat "$top/build/run-script.log"; exit 1; }
status=0
for name in 'DATA+文件列全表.txt' 'DATA+文件列表.txt' 'DATA+目录列表.txt' 'DATA+目录文件列表.txt'; do
    if [ ! -s "$folder/$name" ]; then
        echo "missing or empty: $name"
        status=1
    fi
done
listings=$(find "$folder" -maxdepth 1 -name '*+*.txt' | wc -l)
[ "$listings" -eq 4 ] || { echo "expected exactly four listings, found $listings"; ls "$folder"; status=1; }
grep -q 'D:\\示例文件夹\\文档\\报告.txt' <(iconv -f GBK -t UTF-8 "$folder/DATA+文件列全表.txt") ||
    { echo "the full list does not name the sample's files"; status=1; }
file "$folder/velmora-window.png" | grep -q 'PNG image data' || { echo "no screenshot"; status=1; }
grep -q '^== DATA+文件列全表.txt' "$top/build/run-script.log" || { echo "names not printed"; status=1; }
exit $status
