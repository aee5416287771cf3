#!/usr/bin/env bash
# The scan and fix of safety_scenario.exe in a Wine prefix of its own, with a
# folder the scan cannot list (C:\CvnLoop, a link to itself inside the
# prefix: listing it fails with an error that is not "not found"), a link to
# a folder of the prefix for the checked deletion (C:\CvnLinked) and the
# program whose path is stored without a terminating zero. One wineserver
# runs throughout: such a value does not survive its restart. Between scan
# and fix, when the program asks, a listed folder of the user's Temp becomes
# a link to a folder holding a file of the listed name, and a listed file is
# replaced by another one of its name: neither the link's target nor the new
# file may be deleted, while an unchanged file of Temp is.
# Arguments: safety_scenario.exe, the installed database, the prefix folder to (re)create.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../../.." && pwd)
# shellcheck source=../../../scripts/lib/wine-scenario.sh
source "$root/scripts/lib/wine-scenario.sh"

program=$(readlink -f "$1")
database=$(readlink -f "$2")
prefix="$3"

trap 'rm -f "$prefix/drive_c/CvnLoop" "$prefix/drive_c/CvnLinked" "$prefix"/drive_c/users/*/AppData/Local/Temp/CvnSwap; wine_server_stop "$prefix"' EXIT
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

c="$prefix/drive_c"
user=$(ls "$c/users" | grep -vx Public | head -n 1)
temp="$c/users/$user/AppData/Local/Temp"
mkdir -p "$temp/CvnSwap" "$c/CvnSwapTarget"
echo listed >"$temp/CvnSwap/victim.txt"
echo precious >"$c/CvnSwapTarget/victim.txt"
echo listed >"$temp/CvnReplaced.txt"
echo listed >"$temp/CvnPlain.txt"
rm -f "$c/CvnSwap.request" "$c/CvnSwap.done"
swap() {
  for _ in $(seq 600); do
    if [ -e "$c/CvnSwap.request" ]; then
      rm -rf "$temp/CvnSwap"
      ln -s ../../../../../CvnSwapTarget "$temp/CvnSwap"
      echo new >"$temp/CvnReplaced.new"
      mv "$temp/CvnReplaced.new" "$temp/CvnReplaced.txt"
      touch "$c/CvnSwap.done"
      return
    fi
    sleep 0.1
  done
}
swap &
swapper=$!

status=0
(cd "$prog" && wine 'C:\CvnProg\safety_scenario.exe' </dev/null) || status=$?
wait "$swapper" || true
expect() {
  if ! eval "$2"; then
    echo "FAILED: $1"
    status=1
  fi
}
expect "the file behind the swapped-in link survives" '[ -f "$c/CvnSwapTarget/victim.txt" ]'
expect "the swapped-in link survives" '[ -L "$temp/CvnSwap" ]'
expect "the file that replaced a listed one survives" 'grep -q new "$temp/CvnReplaced.txt"'
expect "an unchanged file of Temp is deleted" '[ ! -e "$temp/CvnPlain.txt" ]'
expect "the log names the replaced file" 'grep -aq "another file has its name now" "$prog/safety.log"'
expect "the log names the link" 'grep -aq "victim.txt on .*a reparse point on the way" "$prog/safety.log"'
rm -f "$temp/CvnSwap"
if ! grep -aq "could not be checked" "$prog/safety.log"; then
  echo "FAILED: no warning about the entry that could not be checked"
  status=1
fi
sed 's/^/  log: /' "$prog/safety.log"
exit "$status"
