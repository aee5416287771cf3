#!/usr/bin/env bash
# cvnscan.exe --fix with the registry backup option in a fresh, safe Wine
# prefix seeded with known problems (values of every type among them, text
# with a line break, a name with "=hex" and a text ending in "\"), then
# cvnscan.exe --undo of the undo file it wrote: the registry export must equal
# the one before the fix. A key holding a text with a zero inside cannot be
# backed up whole and must not be deleted. The same undo file must also import
# with Wine's own "regedit /s" after a second fix.
# Arguments: cvnscan.exe, the installed database, the source root, a scratch folder.
set -euo pipefail
trap 'echo "stopped at line $LINENO: $BASH_COMMAND"' ERR

cvnscan=$(readlink -f "$1")
database=$(readlink -f "$2")
root=$(readlink -f "$3")
work="$4"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../../scripts/lib/wine-scenario.sh
source "$root/scripts/lib/wine-scenario.sh"

mkdir -p "$work"
work=$(readlink -f "$work")
prefix="$work/undo-prefix"
trap 'wine_server_stop "$prefix"' EXIT
scenario_prefix "$prefix"
scenario_install "$prefix" "$cvnscan" cvnscan.exe

categories=(--category fA --category fB --category fD --category fF)
run() { (cd "$prog" && wine 'C:\CvnProg\cvnscan.exe' "$@" </dev/null >>"$prog/out.txt" 2>>"$prog/err.txt"); }
export_software() {
  (cd "$prog" && wine regedit /e "C:\\CvnProg\\$1.reg" 'HKEY_LOCAL_MACHINE\Software' </dev/null >/dev/null 2>&1)
}
same_as_before() {
  cmp -s "$prog/before.reg" "$prog/$1.reg" ||
    { python3 "$here/reg_facts.py" "$prog/before.reg" "$prog/$1.reg" /dev/null /dev/null; return 1; }
}

# What Wine itself leaves behind in these categories is fixed first.
scenario_options 0
run "${categories[@]}" --fix --yes || true
rm -f "$prog/cvnscan.log"

for seed in cvnscan_fix_seed cvnscan_undo_seed; do
  cp "$here/$seed.reg" "$prog/$seed.reg"
  (cd "$prog" && wine reg import "C:\\CvnProg\\$seed.reg" </dev/null >/dev/null 2>&1)
done
export_software before
result=0

scenario_options 2
run "${categories[@]}" --fix --yes || true
export_software fixed
if cmp -s "$prog/before.reg" "$prog/fixed.reg"; then echo "the fix changed nothing"; result=1; fi
grep -aq "; undo file: " "$prog/cvnscan.log" || { echo "no deletion names its undo file"; result=1; }
grep -aqF 'cvnundo-odd.exe (with all sub-keys) on ' "$prog/cvnscan.log" || { echo "the odd key was not met"; result=1; }
if grep -aF 'cvnundo-odd.exe (with all sub-keys) on ' "$prog/cvnscan.log" | grep -aqv 'Other Errors; its undo backup'; then
  echo "the key whose backup cannot be whole was deleted"
  result=1
fi

mapfile -t undo_files < <(find "$prefix/drive_c/users" -path '*/AppData/Local/Corvane/Undo/*/*.reg' | sort)
if [ "${#undo_files[@]}" -ne 1 ]; then
  echo "expected one undo file, found ${#undo_files[@]}"
  exit 1
fi
undo_file="${undo_files[0]}"
windows_path="C:\\${undo_file#"$prefix/drive_c/"}"
windows_path="${windows_path//\//\\}"

status=0
run --undo "$windows_path" || status=$?
export_software undone
[ "$status" -eq 0 ] || { echo "cvnscan --undo exit status $status"; sed 's/^/  err: /' "$prog/err.txt"; result=1; }
same_as_before undone || { echo "the registry after the undo differs from before the fix"; result=1; }

# The undo file is also a file the registry editor imports.
run "${categories[@]}" --fix --yes || true
cp "$undo_file" "$prog/undo.reg"
(cd "$prog" && wine regedit /s 'C:\CvnProg\undo.reg' </dev/null >/dev/null 2>&1)
export_software imported
same_as_before imported || { echo "regedit /s of the undo file did not restore the registry"; result=1; }

[ $result -eq 0 ] && echo "cvnscan --undo and regedit /s restored exactly what the fix removed"
exit $result
