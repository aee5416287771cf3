#!/usr/bin/env bash
# The scan and fix of safety_scenario.exe in a Wine prefix of its own, with a
# folder the scan cannot list (C:\CvnLoop, a link to itself inside the
# prefix: listing it fails with an error that is not "not found") and the
# program whose path is stored without a terminating zero. One wineserver
# runs throughout: such a value does not survive its restart.
# Arguments: safety_scenario.exe, the installed database, the prefix folder to (re)create.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../../.." && pwd)
# shellcheck source=../../../scripts/lib/wine-prefix.sh
source "$root/scripts/lib/wine-prefix.sh"

program=$(readlink -f "$1")
database=$(readlink -f "$2")
prefix="$3"

wine_prefix_create "$prefix"
prog="$prefix/drive_c/CvnProg"
mkdir -p "$prog" "$prefix/drive_c/CvnSafe"
cp "$program" "$prog/safety_scenario.exe"
cp "$database" "$prog/nwcvninfo.dll"
# No restore point (Wine has none, and the installed options abort without one).
sqlite3 "$prog/nwcvninfo.dll" "UPDATE SETTINGS_TBL SET GENERAL_OPTIONS=0 WHERE SETTINGS_ID=1"
echo app >"$prefix/drive_c/CvnSafe/app.exe"
ln -sfn CvnLoop "$prefix/drive_c/CvnLoop"
wine_prefix_env "$prefix"
wine_server_start "$prefix"
trap 'rm -f "$prefix/drive_c/CvnLoop"; wine_server_stop "$prefix"' EXIT

status=0
(cd "$prog" && wine 'C:\CvnProg\safety_scenario.exe' </dev/null) || status=$?
if ! grep -aq "could not be checked" "$prog/safety.log"; then
  echo "FAILED: no warning about the entry that could not be checked"
  status=1
fi
sed 's/^/  log: /' "$prog/safety.log"
exit "$status"
