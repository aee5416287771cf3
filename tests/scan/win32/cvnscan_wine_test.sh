#!/usr/bin/env bash
# cvnscan.exe against a Wine prefix of its own: a first scan of the five
# registry entry categories gives what Wine itself leaves behind; then
# obsolete and still valid help files, uninstall entries, application paths,
# fonts and shared DLLs are seeded with "reg import" and files in C:, and a
# second scan (into a CSV file) must list exactly the seeded obsolete entries
# on top of the first, none of the valid ones, and end as the interface says.
# Prints "N passed, N failed".
# Arguments: cvnscan.exe, the database file, the prefix folder to (re)create.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../../.." && pwd)
# shellcheck source=../../../scripts/lib/wine-scenario.sh
source "$root/scripts/lib/wine-scenario.sh"

program=$(readlink -f "$1")
database=$(readlink -f "$2")
prefix="$3"
trap 'wine_server_stop "$prefix"' EXIT

scenario_prefix "$prefix"
# The program and its files live in C:\CvnWork of the prefix itself.
work="$prefix/drive_c/CvnWork"
mkdir -p "$work"
cp "$program" "$work/cvnscan.exe"
cp "$database" "$work/scan.db"
cd "$work"
categories=(--category fA --category fB --category fD --category fE --category fF)

wine 'C:\CvnWork\cvnscan.exe' "${categories[@]}" --database 'C:\CvnWork\scan.db' >before.txt 2>before.err </dev/null
check "first scan exits 0" "[ $? -eq 0 ]"

seed="$prefix/drive_c/CvnSeed"
mkdir -p "$seed/Help" "$seed/Installers/Kept" "$seed/Apps" "$seed/Fonts" "$seed/Dlls"
touch "$seed/Help/cvnkept.hlp" "$seed/Apps/cvnkept.exe" "$seed/Fonts/cvnkept.ttf" "$seed/Dlls/kept.dll"
cp "$here/cvnscan_seed.reg" "$work/seed.reg"
wine reg import 'C:\CvnWork\seed.reg' </dev/null >/dev/null 2>&1
check "seed imported" "[ $? -eq 0 ]"

wine 'C:\CvnWork\cvnscan.exe' "${categories[@]}" --database 'C:\CvnWork\scan.db' --csv 'C:\CvnWork\after.csv' >after.out 2>after.err </dev/null
status=$?
check "second scan exits 0" "[ $status -eq 0 ]"
check "nothing on standard output with --csv" "[ ! -s after.out ]"

# Problem lines only (headers carry the count), CR removed, in a stable order.
problems() { tr -d '\r' <"$1" | grep -v '^"\[' | grep -v '^$' | sort; }
problems before.txt >before.sorted
problems after.csv >after.sorted
comm -13 before.sorted after.sorted >new.txt
sort "$here/cvnscan_expected.txt" >expected.txt
check "exactly the seeded obsolete entries are new" "diff -u expected.txt new.txt >&2"
check "no valid seed is listed" "! grep -i 'kept' after.csv >&2"
before_total=$(grep -c . before.sorted)
check "the total counts every row" \
  "[ \"\$(tail -n 1 after.err | tr -d '\r')\" = \"Total Problems Found: $((before_total + 9))\" ]"
check "the CSV is the clipboard text: it starts with an empty line" "[ \"\$(head -c 2 after.csv | od -An -c | tr -d ' ')\" = '\r\n' ]"

# This computer under two names and an unreachable one, one at a time and
# four at a time: the same bytes, the second name already scanned.
for n in 1 4; do
  wine 'C:\CvnWork\cvnscan.exe' --computer LOCALHOST --computer . --computer CVN-NO-SUCH-HOST "${categories[@]}" \
    --parallel $n --database 'C:\CvnWork\scan.db' --csv "C:\\CvnWork\\p$n.csv" >/dev/null 2>"p$n.err" </dev/null
  echo $? >"p$n.status"
done
check "--parallel 4 writes the CSV of --parallel 1 byte for byte" "cmp p1.csv p4.csv >&2"
check "and the same error rows and totals" "diff p1.err p4.err >&2"
check "both exit 2 (one computer unreachable)" "[ \"\$(cat p1.status)\$(cat p4.status)\" = 22 ]"
check "the second name is already scanned" "grep -q 'Already scanned as LOCALHOST' p4.err"

wine 'C:\CvnWork\cvnscan.exe' --category nope >/dev/null 2>usage.err </dev/null
check "usage error exits 64" "[ $? -eq 64 ]"
check "usage text on standard error" "grep -q 'Usage: cvnscan' usage.err"

wine 'C:\CvnWork\cvnscan.exe' --database 'C:\CvnWork\missing.db' >/dev/null 2>nodb.err </dev/null
check "a missing --database exits 64" "[ $? -eq 64 ]"
check "and names the file" "grep -q 'no database file C:.CvnWork.missing.db' nodb.err"

wine 'C:\CvnWork\cvnscan.exe' --computer CVN-NO-SUCH-HOST --category fF --database 'C:\CvnWork\scan.db' >none.out 2>none.err </dev/null
check "unreachable computer exits 2" "[ $? -eq 2 ]"
check "its error row on standard error" "grep -q '^\"\\[Error\\]\",\"CVN-NO-SUCH-HOST\"' none.err"

scenario_end
