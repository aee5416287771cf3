#!/usr/bin/env bash
# Runs scan_native_bench.exe in a fresh, safe Wine prefix of its own (it seeds
# HKLM and C:, so it never runs in a prefix anything else uses) and prints
# its table. Arguments: the program, the scale (default 1) or "pair N", the
# prefix folder (default <program folder>/../wine/scan-bench-prefix).
# "pair N" times cvnscan.exe from the program's folder, with the installed
# database nwcvninfo.dll from the same folder, against "reg query /s" of
# Application Paths and Shared DLLs holding N entries each.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=../scripts/lib/wine-prefix.sh
source "$root/scripts/lib/wine-prefix.sh"
program=$(readlink -f "$1")
arguments=("${2:-1}")
if [ "${2:-}" = pair ]; then
  arguments=(pair "${3:?entries per key}")
  shift
fi
prefix="${3:-$(dirname "$(dirname "$program")")/wine/scan-bench-prefix}"
wine_prefix_create "$prefix"
wine_server_start "$prefix"
trap 'wine_server_stop "$prefix"' EXIT
# The programs run from C:\CvnBench of the prefix itself.
mkdir -p "$prefix/drive_c/CvnBench"
cp "$program" "$prefix/drive_c/CvnBench/"
if [ "${arguments[0]}" = pair ]; then
  cp "$(dirname "$program")/cvnscan.exe" "$prefix/drive_c/CvnBench/"
  cp "$(dirname "$program")/nwcvninfo.dll" "$prefix/drive_c/CvnBench/scan.db"
fi
wine_prefix_env "$prefix"
cd "$prefix/drive_c/CvnBench"
wine "C:\\CvnBench\\$(basename "$program")" "${arguments[@]}" </dev/null
