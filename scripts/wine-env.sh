# Wine test environment, sourced by the other scripts: a private Xvfb display and a private,
# reusable Wine prefix (virtual desktop 1024x768) for running the Windows build.
# wine_env_start returns non-zero when the environment could not be made; everything it
# started ends when the sourcing shell exits, fails or is interrupted. One prefix, one user.
# Two other kinds of desktop, each in a prefix of its own beside the first, for one
# environment at a time: "two-monitors" (two Xinerama heads, 1024x768 primary and 800x600, no
# virtual desktop, so that Windows programs see both) and "dpi144" (144 pixels per inch); and
# "on-this-display", the caller's display.

VELORIUM_WINEPREFIX="${VELORIUM_WINEPREFIX:-$HOME/.cache/velorium/wineprefix}"
wine_env_scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# Bump when the prefix's preparation below changes, so old prefixes are prepared again.
wine_env_prefix_version=2
wine_env_screen="1024x768"
wine_env_kind="default"
wine_env_pids=()
wine_env_display=""
wine_env_lock_fd=""
wine_env_active=0

wine_env_log() {
  echo "wine-env: $*" >&2
}

wine_env_fail() {
  wine_env_log "$*"
  return 1
}

# Runs a command in the foreground with the prefix lock closed, so that daemons it starts
# (wineserver) never hold the lock. Background starts close it themselves: a function run
# with & would leave the pid of a subshell in $!.
wine_env_unlocked() {
  "$@" {wine_env_lock_fd}>&-
}

wine_env_lock_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")" || return 1
  exec {wine_env_lock_fd}>"$WINEPREFIX.lock" || return 1
  flock -n "$wine_env_lock_fd" && return 0
  wine_env_log "waiting for another user of $WINEPREFIX (scripts/wine-test --stop ends its tests' sessions)"
  flock -w 3600 "$wine_env_lock_fd" && return 0
  exec {wine_env_lock_fd}>&-
  wine_env_lock_fd=""
  wine_env_fail "gave up waiting for $WINEPREFIX.lock"
}

# Xvfb on a display from scripts/test-display, the allocator the C++ test kit uses as well: it
# writes the number once the server takes connections. A server of someone else's that takes
# the number first ends ours at once, and the allocator then skips that number.
wine_env_start_xvfb() {
  local pid i out
  out="$(mktemp)"
  for _ in 1 2 3; do
    "$wine_env_scripts/test-display" "${wine_env_xvfb_arguments[@]}" >"$out" 2>/dev/null \
      {wine_env_lock_fd}>&- &
    pid=$!
    for i in $(seq 1 100); do
      if [[ $(wc -l <"$out") -ge 1 ]]; then
        wine_env_pids+=("$pid")
        wine_env_display=":$(head -n 1 "$out")"
        rm -f "$out"
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -f "$out"
  wine_env_fail "no Xvfb display could be started (scripts/test-display)"
}

wine_env_check_glx() {
  local extensions
  extensions="$(xdpyinfo -display "$wine_env_display" 2>/dev/null)"
  if ! grep -qw GLX <<<"$extensions"; then
    wine_env_log "warning: Xvfb on $wine_env_display has no GLX extension; OpenGL will fail"
  fi
}

# Prepared once; the stamp records the Wine version and the version of this preparation.
wine_env_prepare_prefix() {
  local stamp="$WINEPREFIX/.velorium-prepared" want
  want="$(wine --version 2>/dev/null) v$wine_env_prefix_version $wine_env_kind"
  [[ -f "$stamp" && "$(cat "$stamp")" == "$want" ]] && return 0
  wine_env_log "preparing Wine prefix $WINEPREFIX (once)"
  wine_env_unlocked wine wineboot --init >/dev/null 2>&1 ||
    wine_env_fail "wineboot failed" || return 1
  if [[ "$wine_env_kind" != two-monitors ]]; then
    wine_env_unlocked wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
      >/dev/null 2>&1 || wine_env_fail "could not turn on the virtual desktop" || return 1
    wine_env_unlocked wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
      /d "$wine_env_screen" /f >/dev/null 2>&1 ||
      wine_env_fail "could not size the virtual desktop" || return 1
  fi
  if [[ "$wine_env_kind" == dpi144 ]]; then
    wine_env_unlocked wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
      /d 144 /f >/dev/null 2>&1 || wine_env_fail "could not set 144 pixels per inch" || return 1
  fi
  # A crashing program writes its backtrace to the log instead of waiting on a dialog.
  wine_env_unlocked wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD \
    /d 0 /f >/dev/null 2>&1 || wine_env_fail "could not turn off the crash dialog" || return 1
  wine_env_unlocked wineserver -w
  echo "$want" >"$stamp"
}

# wine_env_select [--two-monitors | --dpi144 | --on-this-display]: the kind of desktop, its
# prefix and Wine's settings, exported for every Wine process that follows, and its Xvfb's
# arguments (wine_env_xvfb_arguments). on-this-display is the caller's display, in a prefix of
# its own whose virtual desktop scripts/run sizes to that display.
wine_env_select() {
  wine_env_kind="default"
  case "${1:-}" in
    --two-monitors) wine_env_kind=two-monitors ;;
    --dpi144) wine_env_kind=dpi144 ;;
    --on-this-display) wine_env_kind=on-this-display ;;
  esac
  export WINEPREFIX="$VELORIUM_WINEPREFIX"
  [[ "$wine_env_kind" != default ]] && WINEPREFIX="$VELORIUM_WINEPREFIX-$wine_env_kind"
  export WINEDEBUG=-all
  # No .NET or Gecko installs; OpenGL's libraries from files on disk first, as Windows takes
  # them, so that a library planted beside a program would be loaded as it would there.
  export WINEDLLOVERRIDES="mscoree,mshtml=;opengl32,glu32=n,b"
  export WINEARCH=win64
  wine_env_xvfb_arguments=(-screen 0 "${wine_env_screen}x24")
  # Wine takes the heads from Xinerama when RANDR is off.
  [[ "$wine_env_kind" == two-monitors ]] &&
    wine_env_xvfb_arguments=(-extension RANDR +xinerama -screen 0 1024x768x24 -screen 1 800x600x24)
  wine_env_xvfb_arguments+=(+extension GLX -nolisten tcp -noreset)
}

# wine_env_start [--on-this-display | --two-monitors | --dpi144]: takes the prefix and starts a
# private display, or uses $DISPLAY as it is with the first option; the others start the other
# kinds of desktop, in the prefix $VELORIUM_WINEPREFIX-KIND. Cleanup is armed before anything
# is started.
wine_env_start() {
  [[ "$wine_env_active" == 1 ]] && return 0
  wine_env_select "${1:-}"
  trap wine_env_stop EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  wine_env_active=1
  wine_env_lock_prefix || return 1
  # A wineserver left behind by an earlier, killed run would keep its old display.
  wineserver -k >/dev/null 2>&1
  if [[ "${1:-}" == "--on-this-display" ]]; then
    wine_env_display="$DISPLAY"
  else
    wine_env_start_xvfb || return 1
    export DISPLAY="$wine_env_display"
  fi
  wine_env_check_glx
  wine_env_prepare_prefix
}

# wine_run SECONDS PROGRAM [ARGS...]: runs a Windows program and returns its exit status,
# or 124 when it ran longer than SECONDS (then every Windows process of the prefix is ended).
wine_run() {
  local limit="$1" status
  shift
  wine_env_unlocked timeout --kill-after=10 "$limit" wine "$@" </dev/null
  status=$?
  if [[ $status -eq 124 || $status -eq 137 ]]; then
    wine_env_log "$(basename "$1") ran longer than ${limit}s and was ended"
    wineserver -k >/dev/null 2>&1
    status=124
  fi
  return $status
}

# wine_spawn PROGRAM [ARGS...]: starts a Windows program in the background; its pid is in
# wine_env_last_pid, and it is ended with the environment if it still runs then.
wine_spawn() {
  wine "$@" </dev/null {wine_env_lock_fd}>&- &
  wine_env_last_pid=$!
  wine_env_pids+=("$wine_env_last_pid")
}

wine_env_wait_gone() {
  local pid="$1" i
  for i in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null
}

# Ends everything wine_env_start started: the prefix's Windows processes and wineserver,
# then our own processes by pid, then releases the prefix.
wine_env_stop() {
  local pid
  [[ "$wine_env_active" == 1 ]] || return 0
  wine_env_active=0
  if [[ -n "${WINEPREFIX:-}" && -n "$wine_env_lock_fd" ]]; then
    wineserver -k >/dev/null 2>&1
    timeout 20 wineserver -w >/dev/null 2>&1
  fi
  for pid in "${wine_env_pids[@]}"; do
    kill "$pid" 2>/dev/null
  done
  for pid in "${wine_env_pids[@]}"; do
    wine_env_wait_gone "$pid"
    wait "$pid" 2>/dev/null
  done
  wine_env_pids=()
  if [[ -n "$wine_env_lock_fd" ]]; then
    exec {wine_env_lock_fd}>&-
    wine_env_lock_fd=""
  fi
}
