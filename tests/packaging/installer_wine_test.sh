#!/usr/bin/env bash
# The release package in a fresh, safe Wine prefix of its own. The setup
# program: silent install, a scan with the installed cvnscan.exe, an upgrade
# that keeps the database, silent uninstall. The Windows Installer package:
# it refuses to install beside the setup program's installation and the setup
# program beside it; silent install, the database made from the pristine copy
# at the first scan, the scheduled task's own command line, a major upgrade
# that keeps the database, silent uninstall. The task file: its command line,
# and Wine's schtasks imports it. Prints "N passed, N failed".
# Arguments: the setup program, its version, the prefix folder to (re)create,
# the package, a package of a higher version and that version, the task file.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../scripts/lib/wine-scenario.sh
source "$root/scripts/lib/wine-scenario.sh"

setup=$(readlink -f "$1") version="$2" prefix="$3"
msi=$(readlink -f "$4") next_msi=$(readlink -f "$5") next_version="$6" task=$(readlink -f "$7")

wine_prefix_create "$prefix" || { echo "0 passed, 1 failed"; exit 1; }
trap 'wine_server_stop "$prefix"' EXIT
wine_prefix_env "$prefix"
mkdir -p "$prefix/drive_c/CvnSetup"
cp "$setup" "$prefix/drive_c/CvnSetup/setup.exe"
cp "$msi" "$prefix/drive_c/CvnSetup/corvane.msi"
cp "$next_msi" "$prefix/drive_c/CvnSetup/corvane-next.msi"
cp "$task" "$prefix/drive_c/CvnSetup/corvane-scan-task.xml"
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

# --- The Windows Installer package -----------------------------------------
# Its uninstall entry is named by its ProductCode, which changes with every version.
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
package_key() {
  local k
  for k in $(wine reg query "$uninstall" </dev/null 2>/dev/null | tr -d "\r" | grep '\\{'); do
    wine reg query "$k" /v DisplayName </dev/null 2>/dev/null | tr -d "\r" | grep -q 'REG_SZ *Corvane$' && echo "$k"
  done
}
package_value() {
  wine reg query "$(package_key)" /v "$1" </dev/null 2>/dev/null | tr -d "\r" |
    awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}

# Refused while the setup program's installation is there.
run 'C:\CvnSetup\setup.exe' /S
run msiexec /i 'C:\CvnSetup\corvane.msi' /qn
check "the package refuses to install over the setup program's installation" \
  "[ $? -ne 0 ] && [ ! -e \"\$installed/nwcvninfo.default\" ] && [ -z \"\$(package_key)\" ]"
run 'C:\Program Files\Corvane\uninstall.exe' /S
# A computer without Corvane: the setup program's database goes too.
rm -rf "$installed"

run msiexec /i 'C:\CvnSetup\corvane.msi' /qn
check "msiexec /i /qn exits 0" "[ $? -eq 0 ]"
# (Wine puts the shortcut of a per-machine package in the user's Start menu.)
check "programs, pristine database, task file and Start menu shortcut installed" \
  "ls \"\$installed\"/{Corvane.exe,cvnscan.exe,nwcvninfo.default,corvane-scan-task.xml} >/dev/null && [ \"\$(shortcuts)\" = 1 ]"
check "the package carries no live database" "[ ! -e \"\$installed/nwcvninfo.dll\" ]"
for pair in "DisplayName=Corvane" "DisplayVersion=$version" "Publisher=Corvane" \
    "HelpLink=https://www.corvane.example/" "WindowsInstaller=0x1" "NoModify=0x1"; do
  check "package entry ${pair%%=*} is ${pair#*=}" "[ \"\$(package_value ${pair%%=*})\" = '${pair#*=}' ]"
done
check "package entry shows the program's icon" \
  "wine reg query 'HKLM\\Software\\Classes\\Installer\\Products' /s </dev/null | tr -d '\\r' | grep -q 'ProductIcon.*\\\\Corvane.ico\$'"

run 'C:\CvnSetup\setup.exe' /S
check "the setup program refuses to install beside the package" \
  "[ $? -ne 0 ] && [ ! -e \"\$installed/uninstall.exe\" ] && [ -z \"\$(entry)\" ]"

(cd "$installed" && wine 'C:\Program Files\Corvane\cvnscan.exe' --help >help.out 2>&1 </dev/null)
check "cvnscan --help exits 0 and names the unattended options" \
  "[ $? -eq 0 ] && grep -q -- '--local ' \"\$installed/help.out\" && grep -q -- '--undo-backup ' \"\$installed/help.out\""
rm -f "$installed/help.out"

# The first scan makes the database from the pristine copy.
(cd "$installed" && wine 'C:\Program Files\Corvane\cvnscan.exe' --category fB >scan.out 2>scan.err </dev/null)
check "installed cvnscan scans and exits 0" "[ $? -eq 0 ]"
wineserver -w
check "its database is made from the pristine copy" \
  "[ -f \"\$installed/nwcvninfo.dll\" ] && grep -q 'I: Database created from C:.Program Files.Corvane.nwcvninfo.default' \"\$installed/cvnscan.log\""

# The scheduled task's own command line, with a local folder for the share
# and the computer's name put in as Task Scheduler does.
summaries() { grep -c 'I: Summary of .*: [0-9]* problems found, [0-9]* fixed, [0-9]* not fixed' "$installed/cvnscan.log"; }
before=$(summaries)
computer=$(wine cmd /c echo %COMPUTERNAME% </dev/null | tr -d '\r')
arguments=$(iconv -f UTF-16 -t UTF-8 "$task" | tr -d "\r" | sed -n 's:.*<Arguments>\(.*\)</Arguments>.*:\1:p' |
  sed 's/&lt;/</g; s/&gt;/>/g; s/&quot;/"/g; s/&amp;/\&/g')
local_arguments=${arguments/'\\<server>\<share>'/'C:\CvnResults'}
local_arguments=${local_arguments/'%COMPUTERNAME%'/$computer}
mkdir -p "$prefix/drive_c/CvnResults"
eval "set -- $local_arguments"
(cd "$installed" && wine 'C:\Program Files\Corvane\cvnscan.exe' "$@" >task.out 2>task.err </dev/null)
check "the task's command line runs and exits 0" "[ $? -eq 0 ]"
wineserver -w
results=$(ls "$prefix/drive_c/CvnResults")
check "it writes <computer>.csv and no .partial file ($results)" "[ \"\$results\" = '$computer.csv' ]"
check "it logs one summary line for the computer" "[ \"\$(summaries)\" = $((before + 1)) ]"

sqlite3 "$installed/nwcvninfo.dll" "INSERT INTO COMPUTER_TBL (CMP_NAME) VALUES ('kept computer')"
run msiexec /i 'C:\CvnSetup\corvane-next.msi' /qn
check "a newer package installs over the older (exit 0)" "[ $? -eq 0 ]"
check "one entry, of the newer version" \
  "[ \"\$(package_key | wc -l)\" = 1 ] && [ \"\$(package_value DisplayVersion)\" = '$next_version' ]"
check "the upgrade keeps the managed computer" \
  "[ \"\$(sqlite3 \"\$installed/nwcvninfo.dll\" 'SELECT COUNT(*) FROM COMPUTER_TBL')\" = 1 ]"

run msiexec /x 'C:\CvnSetup\corvane-next.msi' /qn
check "msiexec /x /qn exits 0" "[ $? -eq 0 ]"
check "programs, pristine database, shortcut and entry removed" \
  "[ -z \"\$(ls \"\$installed\"/{Corvane.exe,cvnscan.exe,nwcvninfo.default} 2>/dev/null)\" ] && [ \"\$(shortcuts)\" = 0 ] && [ -z \"\$(package_key)\" ]"
check "the uninstall keeps the database" \
  "[ \"\$(sqlite3 \"\$installed/nwcvninfo.dll\" 'SELECT COUNT(*) FROM COMPUTER_TBL')\" = 1 ]"

# --- The scheduled-scan task file -------------------------------------------
expected='--local --fix --yes --undo-backup --category fA --category fB --category fC --category fD --category fE --category fF --category fH --category fI --category fJ --category fK --category fN --category dB --category dG --csv "\\<server>\<share>\%COMPUTERNAME%.csv"'
check "task file is UTF-16 with its byte-order mark" "[ \"\$(head -c 2 \"\$task\" | od -An -tx1 | tr -d ' ')\" = fffe ]"
check "task runs cvnscan with the unattended command line" "[ \"\$arguments\" = '$expected' ]"
check "task runs weekly as SYSTEM" \
  "iconv -f UTF-16 -t UTF-8 \"\$task\" | grep -q '<UserId>S-1-5-18</UserId>' && iconv -f UTF-16 -t UTF-8 \"\$task\" | grep -q '<WeeksInterval>1</WeeksInterval>'"
# Wine runs no tasks and lists none; it writes what it registered (without the
# action, trigger and principal, which it does not write back).
wine schtasks /create /xml 'C:\CvnSetup\corvane-scan-task.xml' /tn Corvane </dev/null
check "schtasks /create /xml imports it (exit 0)" "[ $? -eq 0 ]"
wineserver -w
registered="$prefix/drive_c/windows/system32/tasks/Corvane"
check "and registers it as C:\\windows\\system32\\tasks\\Corvane" \
  "grep -q '<URI>.Corvane</URI>' \"\$registered\" && grep -q '<ExecutionTimeLimit>PT4H</ExecutionTimeLimit>' \"\$registered\""

scenario_end
