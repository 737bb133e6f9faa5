# Shared by wine-run and wine-session; sourced, never run.
#
# Every Wine process of the test rings runs the 64-bit loader alone, silent, without the Mono
# and Gecko installers, in a prefix of our own: never the user's ~/.wine.

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='

velmora_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
velmora_template="$velmora_repo/.cache/wine-prefix-template"
# Inside each prefix: which Wine built it and how, so a Wine upgrade or a change to the recipe
# below rebuilds it instead of reusing it.
velmora_stamp_name=.velmora-wine-version
velmora_template_recipe=3
# The test display, and the Wine desktop that covers it.
velmora_screen_size=1280x800

velmora_die() {
  echo "${0##*/}: $*" >&2
  exit 1
}

velmora_template_stamp() {
  local version
  version=$("$WINE64" --version 2>/dev/null) || velmora_die "cannot run $WINE64"
  echo "$version recipe $velmora_template_recipe"
}

# Ends every process of one prefix's wineserver and waits until they are gone. Bounded, so a
# wedged server cannot stall a test run.
velmora_stop_prefix() {
  local prefix=$1
  [ -d "$prefix" ] || return 0
  WINEPREFIX=$prefix timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true
  WINEPREFIX=$prefix timeout 20 "$WINESERVER" -w >/dev/null 2>&1 || true
}

# Makes <dest> a fresh copy of the template prefix (~1 s), building the template first if this
# Wine has none yet (~10 s). With "reuse", a <dest> copied from the current template is kept.
# The template is built in a scratch folder and renamed into place, so an interrupted build
# never leaves half a prefix where the next run would trust it; copies happen under the same
# lock, so none reads a template that is being replaced.
velmora_prefix_from_template() {
  local dest=$1 mode=${2:-fresh} stamp lock tmp
  stamp=$(velmora_template_stamp)
  mkdir -p "$velmora_repo/.cache"
  lock="$velmora_template.lock"
  exec 8>"$lock"
  flock -w 240 8 || velmora_die "timed out waiting for $lock"
  if [ "$(cat "$velmora_template/$velmora_stamp_name" 2>/dev/null)" != "$stamp" ]; then
    # Left by runs that were killed half-way; nobody else builds while we hold the lock.
    rm -rf "$velmora_template".tmp.*
    tmp=$(mktemp -d "$velmora_template.tmp.XXXXXX")
    (
      unset DISPLAY
      export WINEPREFIX="$tmp/prefix"
      # Wine's background services must not inherit the locks.
      timeout 180 "$WINE64" wineboot -i </dev/null >"$tmp/wineboot.log" 2>&1 8>&- 9>&- &&
        # There is no window manager on the test display: Wine draws the title bars and
        # frames itself, so screenshots show windows as Windows would.
        timeout 60 "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f \
          </dev/null >>"$tmp/wineboot.log" 2>&1 8>&- 9>&- &&
        # One Wine desktop window covering the whole X screen: Wine then places every window
        # itself, so what the X server shows is where Windows says a window is (without a
        # desktop, a maximised borderless window keeps the X position it was first drawn at,
        # and clicks at its Windows coordinates miss).
        timeout 60 "$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
          </dev/null >>"$tmp/wineboot.log" 2>&1 8>&- 9>&- &&
        timeout 60 "$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
          /d "$velmora_screen_size" /f </dev/null >>"$tmp/wineboot.log" 2>&1 8>&- 9>&- &&
        timeout 60 "$WINESERVER" -w
    ) || {
      velmora_stop_prefix "$tmp/prefix"
      exec 8>&-
      velmora_die "creating the Wine prefix template failed; see $tmp/wineboot.log"
    }
    # This Wine does not find its own fonts (Tahoma, Marlett for caption buttons, MS Sans
    # Serif) where it installed them; in the prefix's Fonts folder it does.
    cp /usr/share/wine/fonts/* "$tmp/prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    printf '%s\n' "$stamp" >"$tmp/prefix/$velmora_stamp_name"
    [ -e "$velmora_template" ] && mv -T "$velmora_template" "$tmp/old"
    mv -T "$tmp/prefix" "$velmora_template"
    rm -rf "$tmp"
  fi
  if [ "$mode" != reuse ] ||
    ! cmp -s "$dest/$velmora_stamp_name" "$velmora_template/$velmora_stamp_name"; then
    velmora_stop_prefix "$dest"
    rm -rf "$dest" "$dest.tmp"
    cp -a "$velmora_template" "$dest.tmp"
    mv -T "$dest.tmp" "$dest"
  fi
  exec 8>&-
}

# The build tree a program belongs to: the nearest folder above it holding CMakeCache.txt.
velmora_build_root() {
  local dir
  dir=$(cd "$(dirname "$1")" 2>/dev/null && pwd) || return 1
  while [ "$dir" != / ]; do
    if [ -f "$dir/CMakeCache.txt" ]; then
      printf '%s\n' "$dir"
      return 0
    fi
    dir=$(dirname "$dir")
  done
  return 1
}

# True when the session described by an env file is still usable: its X server is the one we
# started and is listening, and its prefix exists. A stale file (killed run, reboot) is ignored
# rather than trusted, so nothing waits on a display that is gone.
velmora_session_alive() {
  local env=$1 WINEPREFIX DISPLAY XVFB_PID
  [ -f "$env" ] || return 1
  # shellcheck disable=SC1090
  . "$env" || return 1
  [ -n "${XVFB_PID:-}" ] && [ -d "${WINEPREFIX:-/nonexistent}" ] || return 1
  [ "$(cat "/proc/$XVFB_PID/comm" 2>/dev/null)" = Xvfb ] || return 1
  [ -S "/tmp/.X11-unix/X${DISPLAY#:}" ]
}
