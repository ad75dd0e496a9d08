# Sourced, not run: the real server under wine for the run, demo and screenshot scripts, started
# apart from the terminal's process group so that Ctrl+C or a closing terminal reach only the
# calling script, which then ends the server through its own close sequence.
#   build=<build dir> prefix=<wine prefix>; source scripts/server-session.sh
#   session_begin [private]      display (a private Xvfb when DISPLAY is empty or "private" is
#                                given), prefix, wineserver, the stand-in component registered
#   session_wine ARGS...         a wine command in the session, waited for
#   session_start_server DIR     starts Morvane.exe in DIR; waits for its window (server_pid)
#   session_control ARGS...      tools/control/morvane-control.exe (see its header)
#   session_close_server         the server's own close sequence ("Выход"), then waits for it
#   session_end                  stops the server if still there, wineserver and the display;
#                                runs by itself when the calling script exits
# Wine's helpers never inherit the caller's stdin.

session_xvfb_pid=""
session_display_file=""
server_pid=""

session_say() { echo "$@" 2>/dev/null || true; }

session_begin() {
  if [ -z "${DISPLAY:-}" ] || [ "${1:-}" = private ]; then
    session_display_file="$(mktemp)"
    setsid Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp 9>"$session_display_file" \
      </dev/null >/dev/null 2>&1 &
    session_xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$session_display_file" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$session_display_file")"
    session_private_display=1
  fi
  trap session_end EXIT
  export WINEPREFIX="$(realpath -m "$prefix")" WINEDEBUG="${WINEDEBUG:--all}" \
    WINEDLLOVERRIDES="mscoree,mshtml="
  setsid -w scripts/wine-prefix.sh "$WINEPREFIX" </dev/null || return 1
  # The wineserver and every wine process below live in sessions of their own.
  setsid wineserver -p </dev/null >/dev/null 2>&1
  setsid -w scripts/register-standin.sh "$build" </dev/null
}

session_wine() {
  setsid -w env LC_ALL=ru_RU.UTF-8 wine "$@" </dev/null
}

session_control() {
  session_wine "$build/tools/control/morvane-control.exe" "$@"
}

session_start_server() {
  (cd "$1" && exec setsid env LC_ALL=ru_RU.UTF-8 wine "$build/src/app/Morvane.exe" \
    </dev/null >/dev/null 2>&1) &
  server_pid=$!
  session_control wait 30000 >/dev/null
}

session_server_running() {
  [ -n "$server_pid" ] && kill -0 "$server_pid" 2>/dev/null
}

# Returns the server's exit code (0 when it was not running).
session_close_server() {
  local rc=0
  session_server_running || return 0
  session_control close 30000 >/dev/null 2>&1
  wait "$server_pid" 2>/dev/null || rc=$?
  server_pid=""
  return $rc
}

session_end() {
  trap - EXIT
  session_close_server
  wineserver -k >/dev/null 2>&1
  if [ -n "$session_xvfb_pid" ]; then
    kill "$session_xvfb_pid" 2>/dev/null
    wait "$session_xvfb_pid" 2>/dev/null
    rm -f "$session_display_file"
    session_xvfb_pid=""
  fi
}

# The first TCP port from $1 upwards that nobody listens on.
session_free_port() {
  local port=$1
  while (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do port=$((port + 1)); done
  echo "$port"
}
