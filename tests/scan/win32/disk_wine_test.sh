#!/usr/bin/env bash
# cvnscan.exe's disk, browser and search categories against a Wine prefix of
# their own: seeded temporary folders, real shortcuts (saved by the shell's
# link objects) and Firefox profiles of both generations must be listed
# exactly, a link inside a temporary folder never, and --fix must delete
# exactly the listed files and folders and nothing else (listings of C:
# before and after). The programs run from C:
# of the prefix, which has no other drive. Prints "N passed, N failed".
# Arguments: cvnscan.exe, the database file, the prefix folder to (re)create.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../../.." && pwd)
# shellcheck source=../../../scripts/lib/wine-scenario.sh
source "$root/scripts/lib/wine-scenario.sh"

program=$(readlink -f "$1")
database=$(readlink -f "$2")
prefix="$3"
work=$(mktemp -d)
trap 'wine_server_stop "$prefix"; rm -rf "$work"' EXIT

scenario_prefix "$prefix"
cd "$work"
c="$prefix/drive_c"
check "the prefix has no drive but C:" "[ -z \"\$(ls \"$prefix/dosdevices\" | grep ':\$' | grep -vx 'c:')\" ]"
mkdir -p "$c/cvn"
cp "$program" "$c/cvn/cvnscan.exe"
cp "$database" "$c/cvn/scan.db"
# No restore point (Wine has none); the program's own folder (its log among
# the .log files) stays out of the search.
sqlite3 "$c/cvn/scan.db" "UPDATE SETTINGS_TBL SET GENERAL_OPTIONS = 0;
  INSERT INTO EXCEPTION_TBL (REGISTRY_KEY, EXCEPTION_TYPE) VALUES ('c:\\cvn\\', 2)"
categories=()
for key in dA dB dC dD dE dF dG dH dI dJ iA iB iC xA xC xE xF xG xH xI wA; do categories+=(--category "$key"); done
scan() { (cd "$c" && wine 'C:\cvn\cvnscan.exe' "${categories[@]}" --database 'C:\cvn\scan.db' "$@" </dev/null); }
# The full paths of the listed rows (last column), lower case, each once.
paths() { tr -d '\r' <"$1" | grep -v '^"\[' | grep . | sed 's/.*,"\([^"]*\)"$/\1/' | tr 'A-Z' 'a-z' | sort -u; }
# Every file and folder of C: below the prefix as Windows paths, lower case.
listing() {
  (cd "$c" && find . -mindepth 1 ! -path './cvn' ! -path './cvn/*' | sed 's|^\.|c:|; s|/|\\|g' | tr 'A-Z' 'a-z' | sort)
}

scan >before.txt 2>/dev/null
check "first scan exits 0" "[ $? -eq 0 ]"

user=$(ls "$c/users" | grep -vx Public | head -n 1)
local="$c/users/$user/AppData/Local" roaming="$c/users/$user/AppData/Roaming"
recent="$roaming/Microsoft/Windows/Recent" old="Mozilla/Firefox/Profiles/old1234.default"
new="Mozilla/Firefox/Profiles/new5678.default-release"
seed() { for file in "$@"; do mkdir -p "$(dirname "$file")" && echo data >"$file"; done; }
# Host paths under C: as the program names them.
win() { for path in "$@"; do printf 'c:%s\n' "${path#"$c"}" | tr '/A-Z' '\\a-z'; done; }
obsolete=("$c/windows/temp/cvnseed/a.tmp" "$c/windows/temp/cvnseed/sub/deeper/b.dat" "$local/Temp/cvnuser/u.dat"
  "$c/cvnsearch/x.tmp" "$local/$old/Cache/c1" "$local/$new/cache2/entries/e1")
for file in cookies.sqlite signons.sqlite downloads.sqlite search.sqlite; do obsolete+=("$roaming/$old/$file"); done
for file in cookies.sqlite places.sqlite logins.json key4.db formhistory.sqlite permissions.sqlite; do
  obsolete+=("$roaming/$new/$file")
done
seed "${obsolete[@]}" "$c/cvnsearch/keep.txt" "$roaming/$new/prefs.js" "$local/$new/startupCache/keep.bin" \
  "$roaming/Mozilla/Firefox/Profiles/x.backup/cookies.sqlite"
# A link in a temporary folder to a folder outside it (Wine shows it as a
# reparse point, like a junction): neither it nor what it leads to is listed.
seed "$c/cvnlinked/precious.dat"
ln -s ../../cvnlinked "$c/windows/temp/cvnlink"
mkdir -p "$recent"
printf '%s\r\n' 'Set link = CreateObject("WScript.Shell").CreateShortcut(WScript.Arguments(0))' \
  'link.TargetPath = WScript.Arguments(1)' 'link.Save' >"$c/cvn/lnk.vbs"
recent_win=$(win "$recent")
(cd "$c" && wine cscript //nologo 'C:\cvn\lnk.vbs' "$recent_win\\gone.lnk" 'C:\cvn-gone\x.exe' </dev/null &&
  wine cscript //nologo 'C:\cvn\lnk.vbs' "$recent_win\\kept.lnk" 'C:\windows\notepad.exe' </dev/null) >/dev/null 2>&1
check "two shortcuts saved" "[ -s \"$recent/gone.lnk\" ] && [ -s \"$recent/kept.lnk\" ]"

scan --csv 'C:\cvn\after.csv' >/dev/null 2>&1
check "second scan exits 0" "[ $? -eq 0 ]"
cp "$c/cvn/after.csv" after.csv
win "${obsolete[@]}" "$c/windows/temp/cvnseed" "$c/windows/temp/cvnseed/sub" "$c/windows/temp/cvnseed/sub/deeper" \
  "$local/Temp/cvnuser" "$local/$new/cache2/entries" "$recent/gone.lnk" "$recent/kept.lnk" | sort -u >expected.txt
paths before.txt >before.paths
paths after.csv >after.paths
comm -13 before.paths after.paths >new.paths
check "exactly the seeded obsolete files and folders are new" "diff -u expected.txt new.paths >&2"
check "only the missing target is an invalid shortcut" \
  "[ \"\$(tr -d '\r' <after.csv | grep -c ',\"Invalid Shortcuts\",')\" = 1 ] && grep -q 'cvn-gone' after.csv"

listing >c-before.txt
scan --fix --yes >fix.out 2>fix.err
check "the fix exits 0" "[ $? -eq 0 ]"
listing >c-after.txt
paths fix.out >fixed.paths
comm -23 c-before.txt c-after.txt >deleted.txt
check "the fix deleted exactly the listed files and folders" "diff -u fixed.paths deleted.txt >&2"
check "every kept seed is still there" "[ -f \"$c/cvnsearch/keep.txt\" ] && [ -f \"$c/cvnlinked/precious.dat\" ] &&
  [ -f \"$roaming/$new/prefs.js\" ] && [ -f \"$local/$new/startupCache/keep.bin\" ]"
check "one log line per deletion" \
  "[ \"\$(grep -c 'Deleted: ' \"$c/cvn/cvnscan.log\")\" -ge \"\$(grep -c . deleted.txt)\" ]"

scenario_end
