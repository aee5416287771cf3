# Shared by scripts/wine-exec, scripts/test and scripts/run (sourced, not run).
# Creates throwaway Wine prefixes that cannot reach the host: no drive but C:, no
# user folders linked to the host's home, Wine's own fonts installed, Windows 10
# reported, and no Mono/Gecko prompts. Also starts and stops one persistent
# wineserver per run, so that each program start costs no extra seconds.
# Nothing here ever touches ~/.wine: every function works on the prefix given.

# Environment of every Wine call made for the prefix in $1.
wine_prefix_env() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEARCH=win64
}

# Refuses paths that are not plainly a prefix folder of ours, so that a wrong
# variable can never make the rm -rf below remove something else.
wine_prefix_check_path() {
  case "$1" in
    /*prefix) ;;
    *) echo "wine-prefix: refusing unexpected prefix path '$1'" >&2; return 1 ;;
  esac
  case "$1" in
    "$HOME"|"$HOME/"*.wine*|/) echo "wine-prefix: refusing '$1'" >&2; return 1 ;;
  esac
}

# Removes every drive but C: (Z: maps the host's root; Wine may add others
# for host mounts) and replaces every symlink inside drive_c that leads
# outside the prefix by an empty real folder.
wine_prefix_make_safe() {
  local prefix="$1" link target real_prefix entry
  real_prefix=$(readlink -f "$prefix")
  for entry in "$prefix"/dosdevices/?: "$prefix"/dosdevices/?::; do
    [ -e "$entry" ] || [ -L "$entry" ] || continue
    [ "$(basename "$entry")" = "c:" ] || rm -f "$entry"
  done
  while IFS= read -r -d '' link; do
    target=$(readlink -f "$link" || true)
    case "$target" in
      "$real_prefix"/*) ;;
      *) rm -f "$link" && mkdir -p "$link" ;;
    esac
  done < <(find "$prefix/drive_c" -type l -print0)
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp -f /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
}

# Fails, naming each fault, unless the prefix in $1 reaches nothing of the
# host: C: is its only drive and leads to its own drive_c, and no symlink
# under drive_c leads out of the prefix.
wine_prefix_check_safe() {
  local prefix="$1" real_prefix entry name link target faults=0
  real_prefix=$(readlink -f "$prefix")
  for entry in "$prefix"/dosdevices/*; do
    [ -e "$entry" ] || [ -L "$entry" ] || continue
    name=$(basename "$entry")
    case "$name" in
      c:) [ "$(readlink -f "$entry")" = "$real_prefix/drive_c" ] ||
            { echo "wine-prefix: C: of $prefix leads to $(readlink "$entry")" >&2; faults=1; } ;;
      ?:|?::) echo "wine-prefix: $prefix has a drive $name" >&2; faults=1 ;;
    esac
  done
  [ -e "$prefix/dosdevices/c:" ] || { echo "wine-prefix: $prefix has no drive C:" >&2; faults=1; }
  while IFS= read -r -d '' link; do
    target=$(readlink -f "$link" || true)
    case "$target" in
      "$real_prefix"/*) ;;
      *) echo "wine-prefix: $link leads out of the prefix (${target:-$(readlink "$link")})" >&2; faults=1 ;;
    esac
  done < <(find "$prefix/drive_c" -type l -print0)
  return $faults
}

# Creates the prefix in $1 afresh (any old one there is removed first) and
# makes it safe. Takes about 20 s. Leaves no wineserver running.
wine_prefix_create() {
  local prefix="$1"
  wine_prefix_check_path "$prefix" || return 1
  (
    wine_prefix_env "$prefix"
    if [ -d "$prefix" ]; then wineserver -k 2>/dev/null || true; fi
    rm -rf "$prefix"
    mkdir -p "$(dirname "$prefix")"
    # No display while booting: Wine then shows no "updating configuration" window.
    env -u DISPLAY wineboot -i </dev/null >/dev/null 2>&1 || { echo "wine-prefix: wineboot -i failed" >&2; exit 1; }
    wineserver -w
    wine_prefix_make_safe "$prefix"
    env -u DISPLAY wine reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d win10 /f </dev/null >/dev/null 2>&1 ||
      { echo "wine-prefix: setting Windows 10 failed" >&2; exit 1; }
    # Once more, so that Wine re-registers its fonts now that Z: is gone.
    env -u DISPLAY wineboot -u </dev/null >/dev/null 2>&1 || true
    wineserver -w
    wine_prefix_make_safe "$prefix"
    wine_prefix_check_safe "$prefix" || exit 1
    touch "$prefix/.corvane-safe"
  )
}

# True when $1 is a prefix made by wine_prefix_create.
wine_prefix_is_ready() {
  [ -f "$1/.corvane-safe" ] && [ -f "$1/system.reg" ]
}

# Starts one wineserver for the prefix that stays up until wine_server_stop,
# with its standard streams detached (otherwise ctest waits on it forever).
wine_server_start() {
  (
    wine_prefix_env "$1"
    wineserver -k 2>/dev/null || true
    wineserver -w
    (wineserver -p && wine cmd /c exit) </dev/null >/dev/null 2>&1
  )
}

wine_server_stop() {
  (
    wine_prefix_env "$1"
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  )
}

# Copies the program $1 and the files beside it (not subfolders, not the
# other test and benchmark programs of a build folder) into the new folder $2
# inside a prefix's drive_c, so that it runs from C: with what it reads
# there. Copies, never links: nothing the program writes reaches the host.
wine_prefix_stage() {
  local program="$1" target="$2" file
  mkdir -p "$target"
  while IFS= read -r -d '' file; do
    case "$file" in
      "$program") ;;
      *_tests.exe|*_bench.exe) continue ;;
    esac
    cp -p "$file" "$target/"
  done < <(find "$(dirname "$program")" -maxdepth 1 -type f -print0)
}

# A host folder mapped as a drive would be a fixed drive that scans walk and
# fixes clean: refused, for scripts that still ask for it.
wine_prefix_map_d() {
  echo "wine-prefix: no host folder is mapped as a drive; copy the files into the prefix (wine_prefix_stage)" >&2
  return 1
}
