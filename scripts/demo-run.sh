# Sourced by scripts/run.sh --demo, inside its server session: a short scripted demonstration.
# Run 1 serves the shared set of base files and two uploads into files of their own; run 2
# switches to per-terminal files with deletion after sending. Each run ends through the server's
# own close sequence. Then it prints the saved log, the files and the settings key. The settings
# key of scripts/run.sh is put back afterwards.

demo_sim() {
  local out
  out=$(session_wine "$build/tools/simulator/terminal-sim.exe" "$@" --port "$demo_port" 2>&1)
  echo "  terminal-sim $1 ${*:2}" | sed "s|$demo_dir/||g"
  echo "$out" | tr -d '\r' | sed "s|$demo_dir/||g; s/^/    /"
}

demo_start() {
  session_start_server "$demo_dir" || { echo "demo: the server did not start"; return 1; }
  session_control wait-log "Сервер запущен!" 10000 >/dev/null ||
    { echo "demo: the server is not listening on port $demo_port"; return 1; }
}

demo_close() {
  session_close_server
  echo "  closed through its close sequence (exit code $?)"
}

demo_show_files() {
  local f
  for f in "$@"; do
    [ -f "$f" ] || continue
    echo "  ${f#"$demo_dir"/} ($(stat -c %s "$f") bytes):"
    iconv -f CP1251 -t UTF-8 "$f" | tr -d '\r' | sed 's/^/    /'
  done
}

demo_run() {
  demo_dir=$1
  demo_port=$(session_free_port "${MORVANE_PORT:-5000}")
  local saved_key
  saved_key="$(mktemp --suffix=.reg)"
  demo_settings_exist &&
    session_wine reg export "$demo_settings_key" "$(demo_windows_path "$saved_key")" /y >/dev/null 2>&1

  demo_files "$demo_dir"
  demo_settings "$demo_dir" "$demo_port"
  local t=$demo_dir/terminal
  echo "== run 1: the shared set of base files, uploads into a file per exchange (port $demo_port)"
  demo_start || return 1
  demo_sim download --serial 12345678 --base 1 --out "$t/12345678-base1.txt"
  demo_sim upload --serial 12345678 --base 1 --kind 2 --file "$t/inventory.txt"
  demo_sim upload --serial 87654321 --base 2 --kind 1 --file "$t/receipt.txt"
  demo_close

  echo "== run 2: per-terminal files, deleted after sending (the rest of the saved settings kept)"
  session_wine reg add "$demo_settings_key" /v OneFileForAll_TSD /t REG_DWORD /d 0 /f >/dev/null
  session_wine reg add "$demo_settings_key" /v DeleteFileBeforeDownload /t REG_DWORD /d 1 /f \
    >/dev/null
  echo "  own-bases before: $(ls "$demo_dir/own-bases" | tr '\n' ' ')"
  demo_start || return 1
  demo_sim download --serial 12345678 --base 1 --out "$t/12345678-own1.txt"
  demo_close
  echo "  own-bases after:  $(ls "$demo_dir/own-bases" | tr '\n' ' ')"

  local windows_dir
  windows_dir=$(demo_windows_path "$demo_dir" | sed 's/\\/\\\\/g')
  echo "== the saved log (log/Log.log; <demo> is $demo_dir)"
  iconv -f CP1251 -t UTF-8 "$demo_dir/log/Log.log" | tr -d '\r' | sed "s|$windows_dir|<demo>|g; s/^/  /"
  echo "== received by the terminals"
  demo_show_files "$t"/12345678-*.txt
  echo "== uploaded to the server"
  demo_show_files "$demo_dir"/uploads/*
  echo "== the settings key HKCU\\Morvane\\Options\\Software"
  session_wine reg query "$demo_settings_key" 2>/dev/null | tr -d '\r' |
    sed -n 's/^    //p' | sed "s|$windows_dir|<demo>|" |
    sort | sed 's/^/  /'

  session_wine reg delete "$demo_settings_key" /f >/dev/null 2>&1
  [ -s "$saved_key" ] && session_wine reg import "$(demo_windows_path "$saved_key")" >/dev/null 2>&1
  rm -f "$saved_key"
  echo "== done: files under $demo_dir"
}
