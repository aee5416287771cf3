#!/usr/bin/env bash
# The Windows installer in a fresh, safe Wine prefix of its own: silent install,
# a scan with the installed cvnscan.exe, an upgrade that keeps the database,
# silent uninstall. Prints "N passed, N failed".
# Arguments: the setup program, its version, the prefix folder to (re)create.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../scripts/lib/wine-scenario.sh
source "$root/scripts/lib/wine-scenario.sh"

setup=$(readlink -f "$1") version="$2" prefix="$3"

wine_prefix_create "$prefix" || { echo "0 passed, 1 failed"; exit 1; }
trap 'wine_server_stop "$prefix"' EXIT
wine_prefix_env "$prefix"
mkdir -p "$prefix/drive_c/CvnSetup"
cp "$setup" "$prefix/drive_c/CvnSetup/setup.exe"
cd "$prefix/drive_c/CvnSetup"
installed="$prefix/drive_c/Program Files/Corvane"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane'

# Each step waits for every Wine process (the uninstaller runs as a copy of itself).
run() { wine "$@" </dev/null; local status=$?; wineserver -w; return $status; }
shortcuts() { find "$prefix/drive_c" -iname 'Corvane.lnk' | grep -ci 'start menu'; }
entry() { wine reg query "$key" </dev/null 2>/dev/null | tr -d "\r" | grep "REG_"; }
value() { entry | awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'; }

run 'C:\CvnSetup\setup.exe' /S
check "silent install exits 0" "[ $? -eq 0 ]"
check "programs, database and shortcut installed" \
  "ls \"\$installed\"/{Corvane.exe,cvnscan.exe,nwcvninfo.dll,uninstall.exe} >/dev/null && [ \"\$(shortcuts)\" = 1 ]"

for pair in "DisplayName=Corvane" "DisplayVersion=$version" 'InstallLocation=C:\Program Files\Corvane' \
    'UninstallString="C:\Program Files\Corvane\uninstall.exe"' 'DisplayIcon=C:\Program Files\Corvane\Corvane.exe,0' \
    'QuietUninstallString="C:\Program Files\Corvane\uninstall.exe" /S' "Publisher=Corvane"; do
  check "${pair%%=*} is ${pair#*=}" "[ \"\$(value ${pair%%=*})\" = '${pair#*=}' ]"
done
size=$(value EstimatedSize)
check "EstimatedSize in KB ($size)" "[ \"\$((size))\" -gt 1000 ]"

(cd "$installed" && wine 'C:\Program Files\Corvane\cvnscan.exe' --category fB >scan.out 2>scan.err </dev/null)
check "installed cvnscan scans and exits 0" "[ $? -eq 0 ]"
check "its own uninstall entry is not reported" "! grep -i corvane \"\$installed/scan.out\" >&2"
wineserver -w

sqlite3 "$installed/nwcvninfo.dll" "INSERT INTO COMPUTER_TBL (CMP_NAME) VALUES ('kept computer')"
run 'C:\CvnSetup\setup.exe' /S
check "upgrade install exits 0" "[ $? -eq 0 ]"
check "upgrade keeps the managed computer" \
  "[ \"\$(sqlite3 \"\$installed/nwcvninfo.dll\" 'SELECT COUNT(*) FROM COMPUTER_TBL')\" = 1 ]"

run 'C:\Program Files\Corvane\uninstall.exe' /S
check "silent uninstall exits 0" "[ $? -eq 0 ]"
check "programs, shortcut and entry removed" \
  "[ -z \"\$(ls \"\$installed\"/{Corvane.exe,cvnscan.exe,uninstall.exe} 2>/dev/null)\" ] && [ \"\$(shortcuts)\" = 0 ] && [ -z \"\$(entry)\" ]"
check "a silent uninstall keeps the database" "[ -f \"\$installed/nwcvninfo.dll\" ]"

scenario_end
