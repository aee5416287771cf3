#!/usr/bin/env bash
# cvnscan.exe --fix in a fresh, safe Wine prefix seeded with known problems:
# the registry and the C: drive must afterwards differ from before by exactly
# the seeded problems (compared fact by fact on full exports), entries that
# are fine must stay, and the log must name every deletion.
# Arguments: cvnscan.exe, the installed database, the source root, a scratch folder.
set -euo pipefail

cvnscan=$(readlink -f "$1")
database=$(readlink -f "$2")
root=$(readlink -f "$3")
work="$4"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../../scripts/lib/wine-scenario.sh
source "$root/scripts/lib/wine-scenario.sh"

mkdir -p "$work"
work=$(readlink -f "$work")
prefix="$work/fix-prefix"
trap 'wine_server_stop "$prefix"' EXIT
scenario_prefix "$prefix"
# C:\CvnProg is left out of the C: snapshots.
scenario_install "$prefix" "$cvnscan" cvnscan.exe

categories=(--category fA --category fB --category fD --category fF)

scenario_options 0
# What Wine itself leaves behind in these categories is fixed first, so that
# the run under test meets only the seeded problems.
(cd "$prog" && wine 'C:\CvnProg\cvnscan.exe' "${categories[@]}" --fix --yes </dev/null >"$prog/clean.txt" 2>&1) || true
mv "$prog/cvnscan.log" "$prog/clean.log" 2>/dev/null || true

# Seeded problems, and entries that are fine and must stay.
cp "$here/cvnscan_fix_seed.reg" "$prog/seed.reg"
(cd "$prog" && wine reg import 'C:\CvnProg\seed.reg' </dev/null >/dev/null 2>&1)
mkdir -p "$prefix/drive_c/CvnFixKeep"
echo keep >"$prefix/drive_c/CvnFixKeep/keep.txt"

snapshot() {
  (cd "$prog" && wine regedit /e "C:\\CvnProg\\$1.reg" 'HKEY_LOCAL_MACHINE\Software' </dev/null >/dev/null 2>&1)
  (cd "$prefix/drive_c" && find . \( -path ./windows/temp -o -path ./CvnProg \) -prune -o -print | LC_ALL=C sort) >"$prog/$1.files"
}

snapshot before
result=0

# The installed options ask for a restore point and abort fixing when it
# cannot be made, which is always the case under Wine: nothing may change.
scenario_options 100
(cd "$prog" && wine 'C:\CvnProg\cvnscan.exe' "${categories[@]}" --fix --yes </dev/null >"$prog/refused.txt" 2>&1) || true
snapshot refused
if ! python3 "$here/reg_facts.py" --expect /dev/null "$prog/before.reg" "$prog/refused.reg" \
     "$prog/before.files" "$prog/refused.files"; then
  echo "a refused restore point still changed the computer"
  result=1
fi
grep -aq "Error while creating System Restore Point" "$prog/cvnscan.log" ||
  { echo "the refused restore point is not in the log"; result=1; }
if grep -aq "Deleted: " "$prog/cvnscan.log"; then echo "deletions logged after a refused restore point"; result=1; fi
mv "$prog/cvnscan.log" "$prog/refused.log"

scenario_options 0
status=0
(cd "$prog" && wine 'C:\CvnProg\cvnscan.exe' "${categories[@]}" --fix --yes </dev/null >"$prog/out.txt" 2>"$prog/err.txt") ||
  status=$?
snapshot after
echo "cvnscan exit status: $status"
sed 's/^/  err: /' "$prog/err.txt"

key='KEY HKEY_LOCAL_MACHINE\SOFTWARE\MICROSOFT\WINDOWS'
cat >"$prog/expected.txt" <<FACTS
$key\\CURRENTVERSION\\APP PATHS\\CVNFIX-GHOST.EXE
value $key\\CURRENTVERSION\\APP PATHS\\CVNFIX-GHOST.EXE @="C:\\\\CvnFixGone\\\\ghost.exe"
$key\\CURRENTVERSION\\APP PATHS\\CVNFIX-GHOST.EXE\\EXTRA
value $key\\CURRENTVERSION\\APP PATHS\\CVNFIX-GHOST.EXE\\EXTRA "X"="1"
value $key\\HELP "cvnfixgone.hlp"="C:\\\\CvnFixGone"
value $key\\CURRENTVERSION\\SHAREDDLLS "C:\\\\CvnFixGone\\\\gone.dll"=dword:00000001
$key\\CURRENTVERSION\\UNINSTALL\\CVNFIXEMPTY
value $key\\CURRENTVERSION\\UNINSTALL\\CVNFIXSOURCE "InstallSource"="C:\\\\CvnFixGoneSource\\\\"
FACTS
# Wine shares the App Paths key with the 32-bit view: the export shows it
# (one key) a second time under Wow6432Node.
shared=$(grep 'APP PATHS' "$prog/expected.txt" | sed 's/SOFTWARE\\MICROSOFT/SOFTWARE\\WOW6432NODE\\MICROSOFT/')
printf '%s\n' "$shared" >>"$prog/expected.txt"
sed -i 's/^value KEY /value /' "$prog/expected.txt"

python3 "$here/reg_facts.py" --expect "$prog/expected.txt" "$prog/before.reg" "$prog/after.reg" \
  "$prog/before.files" "$prog/after.files" || result=1

for line in \
  'Deleted: registry key tree HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\cvnfix-ghost.exe (with all sub-keys) on ' \
  'Deleted: registry value "cvnfixgone.hlp" in HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\Help on ' \
  'Deleted: registry value "C:\CvnFixGone\gone.dll" in HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\SharedDLLs on ' \
  'Deleted: registry key tree HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\CvnFixEmpty (with all sub-keys) on ' \
  'Deleted: registry value "InstallSource" in HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\CvnFixSource on ' \
  'Total Problems Fixed 5'; do
  if ! grep -aqF "$line" "$prog/cvnscan.log"; then
    echo "missing in the log: $line"
    result=1
  fi
done
grep -aE '^(I|W|E): (Deleted|Not deleted|Nothing to delete)' "$prog/cvnscan.log" | sed 's/^/  log: /' || true
[ "$status" -eq 0 ] || { echo "cvnscan did not scan every computer"; result=1; }
[ $result -eq 0 ] && echo "cvnscan --fix removed exactly the seeded problems"
exit $result
