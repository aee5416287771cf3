#!/usr/bin/env bash
# cvnscan.exe and the eight class, software and trace registry categories in
# a Wine prefix of their own: after Wine's own findings are fixed, seeded
# obsolete entries (and valid ones beside them) must be listed exactly, and
# --fix must remove exactly them (compared fact by fact on registry exports).
# The program runs from C:, so that no host folder is mapped into the prefix.
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
scenario_install "$prefix" "$program" cvnscan.exe
scenario_options 0  # no restore point
cd "$prog"
user='HKEY_USERS\S-1-5-21-0-0-0-1000'
categories=(--category fH --category fC --category fG --category fI --category fJ --category fK --category fM
            --category fN)
scan() { wine 'C:\CvnProg\cvnscan.exe' "${categories[@]}" "$@" </dev/null; }
problems() { tr -d '\r' <"$1" | grep -v '^"\[' | grep -v '^$' | sort; }
snapshot() {
  wine regedit /e "C:\\CvnProg\\$1-m.reg" 'HKEY_LOCAL_MACHINE\Software' </dev/null >/dev/null 2>&1
  wine regedit /e "C:\\CvnProg\\$1-u.reg" "$user" </dev/null >/dev/null 2>&1
  wine regedit /e "C:\\CvnProg\\$1-c.reg" "${user}_Classes" </dev/null >/dev/null 2>&1
  cat "$1-m.reg" "$1-u.reg" "$1-c.reg" >"$1.reg" 2>/dev/null
  (cd "$prefix/drive_c" && find . -path ./windows/temp -prune -o -path ./CvnProg -prune -o -print | LC_ALL=C sort) \
    >"$1.files"
}

# What Wine itself leaves behind is fixed first, twice: a fix can leave a
# key empty that the next scan finds.
scan --fix --yes >clean1.txt 2>&1
scan --fix --yes >clean2.txt 2>&1
scan >before.txt 2>before.err
check "first scan exits 0" "[ $? -eq 0 ]"
problems before.txt >before.sorted

mkdir -p "$prefix/drive_c/CvnSeed/Kept"
touch "$prefix/drive_c/CvnSeed/Kept/kept.dll" "$prefix/drive_c/CvnSeed/Kept/kept.exe"
cp "$here/regcat_seed.reg" seed.reg
wine reg import 'C:\CvnProg\seed.reg' </dev/null >/dev/null 2>&1
check "seed imported" "[ $? -eq 0 ]"

scan >after.txt 2>after.err
check "second scan exits 0" "[ $? -eq 0 ]"
problems after.txt >after.sorted
comm -13 before.sorted after.sorted >new.txt
sort "$here/regcat_expected.txt" >expected.txt
check "exactly the seeded obsolete entries are new" "diff -u expected.txt new.txt >&2"
check "no valid seed is listed" "! grep -iE 'kept|cvnsample|cvnblank' after.txt >&2"

snapshot before
rm -f cvnscan.log
scan --fix --yes >fix.out 2>fix.err
check "the fix exits 0" "[ $? -eq 0 ]"
snapshot after
sed "s/^/value /" "$here/regcat_fixed.txt" | sed 's/^value KEY /KEY /' >fixed.txt
check "the fix removes exactly the listed entries" \
  "python3 '$root/tests/fix/win32/reg_facts.py' --expect fixed.txt before.reg after.reg before.files after.files >&2"
check "every deletion is in the log" \
  "[ \"\$(grep -ac 'Deleted: registry' cvnscan.log)\" -eq \$(grep -c . new.txt) ]"
scan >last.txt 2>last.err
problems last.txt >last.sorted
check "nothing seeded is found again" "comm -13 before.sorted last.sorted | diff /dev/null - >&2"

scenario_end
