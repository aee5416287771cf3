# Shared by the Wine scenario scripts under tests/ (sourced, not run): the
# tally of their checks, printed as the "N passed, N failed" line, and the
# opening of their own fresh, safe prefix with one wineserver for the script.
# shellcheck source=wine-prefix.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"

passed=0 failed=0

# check <what> <shell condition>: counts the outcome; a failure is named on
# standard error.
check() {
  if eval "$2"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1" >&2; fi
}

# scenario_end: prints the tally; succeeds only when nothing failed.
scenario_end() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

# scenario_prefix <prefix>: creates the prefix (if that fails the script
# ends as one failed check), starts its wineserver and takes its
# environment. The caller's EXIT trap stops the server.
scenario_prefix() {
  wine_prefix_create "$1" || { echo "0 passed, 1 failed"; exit 1; }
  wine_server_start "$1"
  wine_prefix_env "$1"
}

# scenario_install <prefix> <program> <name>: copies the program (as <name>)
# and the installed database in $database (as nwcvninfo.dll) into a fresh
# C:\CvnProg of the prefix, whose host folder $prog names afterwards. Every
# file the scenario writes lives there too: no host folder is a drive.
scenario_install() {
  prog="$1/drive_c/CvnProg"
  rm -rf "$prog"
  mkdir -p "$prog"
  cp "$2" "$prog/$3"
  cp "$database" "$prog/nwcvninfo.dll"
}

# scenario_options <bits>: the general options of the database in $prog.
scenario_options() {
  sqlite3 "$prog/nwcvninfo.dll" "UPDATE SETTINGS_TBL SET GENERAL_OPTIONS=$1 WHERE SETTINGS_ID=1"
}
