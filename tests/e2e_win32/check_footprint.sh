#!/usr/bin/env bash
# The executable stays small and needs no DLL beyond the system's own.
# usage: check_footprint.sh OBJDUMP EXE MAX_BYTES
set -euo pipefail
objdump=$1 exe=$2 max_bytes=$3

size=$(stat -c %s "$exe")
echo "size: $size bytes (limit $max_bytes)"
mapfile -t dlls < <("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]' | sort)
echo "imports: ${dlls[*]}"

status=0
if [ "$size" -gt "$max_bytes" ]; then
    echo "FAIL: larger than $max_bytes bytes"
    status=1
fi
for dll in "${dlls[@]}"; do
    case $dll in
        kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | shell32.dll | advapi32.dll | msvcrt.dll) ;;
        *)
            echo "FAIL: imports $dll, which is not a system DLL"
            status=1
            ;;
    esac
done
exit "$status"
