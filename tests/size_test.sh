#!/usr/bin/env bash
# size_test.sh EXE OBJDUMP: the program stays within 32 KiB and imports only Windows' own DLLs.
set -euo pipefail
exe=$1 objdump=$2
status=0
size=$(stat -c %s "$exe")
echo "$(basename "$exe"): $size bytes"
if [ "$size" -gt 32768 ]; then
    echo "over 32768 bytes"
    status=1
fi
dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ -n "$dlls" ] || { echo "no import table read"; exit 1; }
while read -r dll; do
    case "${dll,,}" in
    kernel32.dll | user32.dll | gdi32.dll | ole32.dll | comctl32.dll | msvcrt.dll) echo "imports $dll" ;;
    *) echo "imports $dll, which is not Windows' own"; status=1 ;;
    esac
done <<<"$dlls"
exit $status
