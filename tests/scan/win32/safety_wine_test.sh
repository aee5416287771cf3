#!/usr/bin/env bash
# The scan and fix of safety_scenario.exe in a Wine prefix of its own, with a
# folder the scan cannot list (C:\CvnLoop, a link to itself inside the
# prefix: listing it fails with an error that is not "not found"), a link to
# a folder of the prefix for the checked deletion (C:\CvnLinked) and the
# program whose path is stored without a terminating zero. One wineserver
# runs throughout: such a value does not survive its restart.
# Arguments: safety_scenario.exe, the installed database, the prefix folder to (re)create.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../../.." && pwd)
# shellcheck source=../../../scripts/lib/wine-scenario.sh
source "$root/scripts/lib/wine-scenario.sh"

program=$(readlink -f "$1")
database=$(readlink -f "$2")
prefix="$3"

trap 'rm -f "$prefix/drive_c/CvnLoop" "$prefix/drive_c/CvnLinked"; wine_server_stop "$prefix"' EXIT
scenario_prefix "$prefix"
scenario_install "$prefix" "$program" safety_scenario.exe
# No restore point (Wine has none, and the installed options abort without one).
scenario_options 0
mkdir -p "$prefix/drive_c/CvnSafe"
echo app >"$prefix/drive_c/CvnSafe/app.exe"
ln -sfn CvnLoop "$prefix/drive_c/CvnLoop"
# A link inside the prefix to a folder of the prefix, for the checked deletion.
mkdir -p "$prefix/drive_c/CvnLinkTarget"
echo keep >"$prefix/drive_c/CvnLinkTarget/keep.txt"
ln -sfn CvnLinkTarget "$prefix/drive_c/CvnLinked"

status=0
(cd "$prog" && wine 'C:\CvnProg\safety_scenario.exe' </dev/null) || status=$?
if ! grep -aq "could not be checked" "$prog/safety.log"; then
  echo "FAILED: no warning about the entry that could not be checked"
  status=1
fi
sed 's/^/  log: /' "$prog/safety.log"
exit "$status"
