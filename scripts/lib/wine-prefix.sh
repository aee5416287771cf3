# Shared by scripts/wine-exec, scripts/test and scripts/run (sourced, not run).
# Creates throwaway Wine prefixes that cannot reach the host: no Z: drive, no
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

# Replaces every symlink inside drive_c that leads outside the prefix by an
# empty real folder, and removes drives that map host folders.
wine_prefix_make_safe() {
  local prefix="$1" link target real_prefix
  real_prefix=$(readlink -f "$prefix")
  rm -f "$prefix/dosdevices/z:" "$prefix/dosdevices/d:"
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

# Maps the host folder $2 as drive D: of the prefix $1 (only that folder).
wine_prefix_map_d() {
  local prefix="$1" folder="$2" current
  current=$(readlink "$prefix/dosdevices/d:" 2>/dev/null || true)
  [ "$current" = "$folder" ] && return 0
  ln -sfn "$folder" "$prefix/dosdevices/d:.new.$$"
  mv -T "$prefix/dosdevices/d:.new.$$" "$prefix/dosdevices/d:"
}
