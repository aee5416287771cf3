#!/usr/bin/env bash
# cvnscan.exe's disk, browser and search categories against a Wine prefix of
# their own: seeded temporary folders, real shortcuts (saved by the shell's
# link objects), Firefox profiles of both generations (the ones profiles.ini
# names, and by their names where there is none) and the Chrome and Edge
# profiles of the user and of a second profile whose user is not logged on
# must be listed exactly (a browser database with its journal as one row); a
# link inside a temporary folder never, nor a profile copy, nor a file the
# Chromium categories never list, nor the places where the user's own hive
# values point elsewhere (the drive, other folders, a link on the way); and
# --fix must delete exactly the listed files and folders (with their
# databases' journals) and nothing else (listings of C: before and after).
# The programs run from C: of the prefix, which has no other drive. Prints
# "N passed, N failed".
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
for key in dA dB dC dD dE dF dG dH dI dJ iA iB iC xA xC xE xF xG xH xI bA bB bC bD bE bF bG bH bI wA; do
  categories+=(--category "$key")
done
scan() { (cd "$c" && wine 'C:\cvn\cvnscan.exe' "${categories[@]}" --database 'C:\cvn\scan.db' "$@" </dev/null); }
# The full paths of the listed rows (last column), lower case, each once.
paths() { tr -d '\r' <"$1" | grep -v '^"\[' | grep . | sed 's/.*,"\([^"]*\)"$/\1/' | tr 'A-Z' 'a-z' | sort -u; }
# Every file and folder of C: below the prefix as Windows paths, lower case.
listing() {
  (cd "$c" && find . -mindepth 1 ! -path './cvn' ! -path './cvn/*' | sed 's|^\.|c:|; s|/|\\|g' | tr 'A-Z' 'a-z' | sort)
}

user=$(ls "$c/users" | grep -vx Public | head -n 1)
local="$c/users/$user/AppData/Local" roaming="$c/users/$user/AppData/Roaming"
# Hive values a user can set, pointed where no such files are kept: the drive,
# the user's documents, other programs' folders (one through a device path,
# one by its short name), and the burn folder through a link to a folder
# outside the profile.
shell='Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
mkdir -p "$c/Program Files/cvnkeep"
# The folder's short name as Wine makes it (C:\PROG~FBU\cvnkeep); cmd reads
# the quotes of a for loop right only from a batch file.
printf '%s\r\n' '@for %%I in ("C:\Program Files\cvnkeep") do @echo %%~sI' >"$c/cvn/short.bat"
short=$(cd "$c" && wine cmd /c 'C:\cvn\short.bat' </dev/null 2>/dev/null | tr -d '\r')
check "the short name has a ~" "[[ \"$short\" == *'~'* ]]"
for hive in HKCU 'HKU\.Default'; do
  for pair in 'History=C:\.' "Cookies=C:\\users\\$user\\Documents" 'Cache=\\?\C:\ProgramData\cvnkeep' \
    'CD Burning=C:\users\'"$user"'\AppData\Local\Microsoft\Windows\Burn\Burn' \
    "{374DE290-123F-4565-9164-39C4925E467B}=$short"; do
    wine reg add "$hive\\$shell" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null 2>&1
  done
done
kept=("$c/users/$user/Documents/keep.doc" "$c/ProgramData/cvnkeep/keep.dat" "$c/Program Files/cvnkeep/keep.exe"
  "$c/cvnburn/Burn/keep.dat" "$roaming/Mozilla/Firefox/Profiles/abcd.default.bak/cookies.sqlite"
  "$local/Mozilla/Firefox/Profiles/abcd.default.bak/cache2/keep.bin" "$c/cvnsearch/keep.txt")
mkdir -p "$local/Microsoft/Windows"
rm -rf "$local/Microsoft/Windows/Burn"
ln -s ../../../../../../cvnburn "$local/Microsoft/Windows/Burn"

scan >before.txt 2>/dev/null
check "first scan exits 0" "[ $? -eq 0 ]"

recent="$roaming/Microsoft/Windows/Recent" old="Mozilla/Firefox/Profiles/old1234.default"
new="Mozilla/Firefox/Profiles/new5678.default-release"
seed() { for file in "$@"; do mkdir -p "$(dirname "$file")" && echo data >"$file"; done; }
# Host paths under C: as the program names them.
win() { for path in "$@"; do printf 'c:%s\n' "${path#"$c"}" | tr '/A-Z' '\\a-z'; done; }
obsolete=("$c/windows/temp/cvnseed/a.tmp" "$c/windows/temp/cvnseed/sub/deeper/b.dat" "$local/Temp/cvnuser/u.dat"
  "$c/cvnsearch/x.tmp" "$local/$old/Cache/c1" "$local/$new/cache2/entries/e1")
for file in cookies.sqlite signons.sqlite downloads.sqlite search.sqlite; do obsolete+=("$roaming/$old/$file"); done
for file in cookies.sqlite logins.json formhistory.sqlite permissions.sqlite; do obsolete+=("$roaming/$new/$file"); done
# The Chromium data of one user (a user-data folder below the user's local
# application data; cookies in each profile's Network folder or, as older
# builds kept them, in the profile): what its categories list, the folders
# they list, the journals deleted with their databases, and what they never
# list. Another user's profile is one more call.
chromium_profiles=(Default 'Profile 1' 'Guest Profile')
seed_chromium() {
  local data=$1 cookies=$2 profile file
  for profile in "${chromium_profiles[@]}"; do
    local p="$data/$profile"
    obsolete+=("$p/Cache/Cache_Data/data_0" "$p/Code Cache/js/index" "$p/GPUCache/data_1" "$p/Media Cache/f_1"
      "$p/${cookies}Cookies" "$p/History" "$p/Visited Links" "$p/Top Sites" "$p/Shortcuts" "$p/Favicons")
    listed_folders+=("$p/Cache/Cache_Data" "$p/Code Cache/js")
    for file in "${cookies}Cookies" History 'Top Sites' Shortcuts Favicons; do companions+=("$p/$file-journal"); done
  done
  obsolete+=("$data/ShaderCache/GPUCache/data_0" "$data/GrShaderCache/data_1")
  listed_folders+=("$data/ShaderCache/GPUCache")
  for profile in "${chromium_profiles[@]}" 'System Profile'; do
    for file in Bookmarks Preferences 'Secure Preferences' 'Login Data' 'Login Data-journal' 'Web Data' \
      Extensions/abc/1.0/History 'Local Storage/leveldb/000003.log' IndexedDB/x.leveldb/LOG History.bak; do
      kept+=("$data/$profile/$file")
    done
  done
  kept+=("$data/Local State" "$data/Crashpad/reports/r.dmp")
}
listed_folders=() companions=()
seed_chromium "$local/Google/Chrome/User Data" Network/
seed_chromium "$local/Microsoft/Edge/User Data" ''
# A profile only profiles.ini names; the bookmarks' and the keys' databases stay.
obsolete+=("$roaming/Mozilla/Firefox/Profiles/work.custom/cookies.sqlite")
kept+=("$roaming/$new/places.sqlite" "$roaming/$new/key4.db" "$roaming/$new/prefs.js" "$local/$new/startupCache/keep.bin")
mkdir -p "$roaming/Mozilla/Firefox"
printf '%s\r\n' '[General]' 'StartWithLastProfile=1' '' '[Profile0]' 'Name=old' 'IsRelative=1' "Path=${old#*Firefox/}" '' \
  '[Profile1]' 'Name=new' 'IsRelative=1' "Path=${new#*Firefox/}" '' '[Profile2]' 'Name=work' 'IsRelative=1' \
  'Path=Profiles/work.custom' >"$roaming/Mozilla/Firefox/profiles.ini"
# A second profile in the profile list whose user is not logged on (no hive
# in HKEY_USERS): its Temp folder and its browsers' data are cleaned, its
# downloads are not.
second="$c/users/cvnsecond"
wine reg add 'HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList\S-1-5-21-0-0-0-1001' \
  /v ProfileImagePath /t REG_EXPAND_SZ /d '%SystemDrive%\users\cvnsecond' /f >/dev/null 2>&1
obsolete+=("$second/AppData/Local/Temp/o.tmp")
kept+=("$second/Downloads/keep.exe")
seed_chromium "$second/AppData/Local/Google/Chrome/User Data" Network/
seed_chromium "$second/AppData/Local/Microsoft/Edge/User Data" ''
seed "${obsolete[@]}" "${companions[@]}" "${kept[@]}" "$roaming/Mozilla/Firefox/Profiles/x.backup/cookies.sqlite"
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
  "$local/Temp/cvnuser" "$local/$new/cache2/entries" "$recent/gone.lnk" "$recent/kept.lnk" "${listed_folders[@]}" |
  sort -u >expected.txt
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
(paths fix.out && win "${companions[@]}") | sort -u >fixed.paths
comm -23 c-before.txt c-after.txt >deleted.txt
check "the fix deleted exactly the listed files and folders (with their journals)" "diff -u fixed.paths deleted.txt >&2"
for file in "${kept[@]}" "$c/cvnlinked/precious.dat" "$c/windows/system32/drivers/etc/hosts"; do
  check "kept: ${file#"$c"}" "[ -f \"$file\" ]"
done
for reason in 'refused path form' 'not where Windows keeps History' 'not where Windows keeps Cookies' \
  'not where Windows keeps Downloads' 'a reparse point on the way'; do
  check "the log says why a folder was not cleaned: $reason" "grep -q '$reason' \"$c/cvn/cvnscan.log\""
done
wine_help=$( (cd "$c" && wine 'C:\cvn\cvnscan.exe' --help </dev/null) | tr -d '\r')
check "--help lists the Chromium categories" "grep -q '^      bI  Brave History\$' <<<\"\$wine_help\""
check "one log line per deleted row" \
  "[ \"\$(grep -c 'Deleted: ' \"$c/cvn/cvnscan.log\")\" -ge \"\$(paths fix.out | grep -c .)\" ]"

scenario_end
