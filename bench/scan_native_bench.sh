#!/usr/bin/env bash
# Runs scan_native_bench.exe in a fresh, safe Wine prefix of its own (it seeds
# HKLM and C:, so it never runs in a prefix anything else uses) and prints
# its table. Arguments: the program, the scale (default 1), the prefix folder
# (default <program folder>/../wine/scan-bench-prefix).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=../scripts/lib/wine-prefix.sh
source "$root/scripts/lib/wine-prefix.sh"
program=$(readlink -f "$1")
scale="${2:-1}"
prefix="${3:-$(dirname "$(dirname "$program")")/wine/scan-bench-prefix}"
wine_prefix_create "$prefix"
wine_server_start "$prefix"
trap 'wine_server_stop "$prefix"' EXIT
# The program runs from C:\CvnBench of the prefix itself.
mkdir -p "$prefix/drive_c/CvnBench"
cp "$program" "$prefix/drive_c/CvnBench/"
wine_prefix_env "$prefix"
cd "$prefix/drive_c/CvnBench"
wine "C:\\CvnBench\\$(basename "$program")" "$scale" </dev/null
