# Sourced, not run: the demo profile of the run, demo and screenshot scripts. Needs an active
# server session (scripts/server-session.sh).
#   demo_files DIR               base files of the shared set (bases), per-terminal files
#                                (own-bases), the upload folder (uploads), the log folder (log)
#                                and what the played terminals send (terminal)
#   demo_settings DIR PORT [NAME=VALUE...]
#                                writes the whole settings key: the built-in defaults, the demo's
#                                folders, the port, the server connected at start, then the
#                                overrides; numbers are given in decimal
#   demo_settings_exist          whether the settings key is there

demo_settings_key='HKCU\Morvane\Options\Software'

# Text files the way the terminals' software reads them: CP1251, CR LF.
demo_text() {
  printf '%s\r\n' "${@:2}" | iconv -f UTF-8 -t CP1251 >"$1"
}

demo_files() {
  local dir=$1
  rm -rf "$dir"
  mkdir -p "$dir/bases" "$dir/own-bases" "$dir/uploads" "$dir/log" "$dir/terminal"
  demo_text "$dir/bases/goods.txt" "4600001000011;Молоко 3,2% 1 л;89.90" \
    "4600001000028;Хлеб ржаной;54.00" "4600001000035;Сыр российский 200 г;219.50"
  demo_text "$dir/bases/prices.txt" "4600001000011;89.90" "4600001000028;54.00" \
    "4600001000035;219.50"
  demo_text "$dir/bases/stores.txt" "1;Склад на Садовой" "2;Магазин на Лесной"
  # Per-terminal files: serial number, "_base", base number, "_", index; the lowest index goes
  # first.
  demo_text "$dir/own-bases/12345678_base1_1.txt" "Задание 1 для ТСД 12345678: пересчёт секции А"
  demo_text "$dir/own-bases/12345678_base1_2.txt" "Задание 2 для ТСД 12345678: пересчёт секции Б"
  demo_text "$dir/own-bases/87654321_base1_1.txt" "Задание 1 для ТСД 87654321: приёмка"
  demo_text "$dir/terminal/inventory.txt" "4600001000011;12" "4600001000028;30" \
    "4600001000035;7"
  demo_text "$dir/terminal/receipt.txt" "4600001000011;48" "4600001000035;20"
}

demo_windows_path() {
  setsid -w winepath -w "$1" </dev/null 2>/dev/null
}

demo_settings() {
  local dir=$1 port=$2
  shift 2
  local -A number=(
    [OneFileForAllTSD]=0 [StartAppBeforeDownload]=0 [StartAppAfterDownload]=0
    [OneFileForAll_TSD]=1 [MinimizeToTray]=1 [AlphaBlends]=0 [AlphaBlendsCount]=255
    [ColNumberIndex]=2 [SuffiksIndex]=1 [DeleteFileBeforeDownload]=0 [SaveLogWhenQuite]=1
    [SaveLogOneFile]=1 [Port]=$port [Delay]=5000 [Delimiter]=59 [StarAppBeforeUpload]=0
    [StarAppAfterUpload]=0 [AutoRun]=0 [ClearBDAfterUpload]=0 [ClearFilesAfterUpload]=0
    [SNFileName]=1 [SuffiksRadio]=1 [AutoConnect]=1 [AddNumberBD]=1
    [MinimizeToTaryWhenStart]=0
  )
  local -A text=(
    [DirectoryLog]="$(demo_windows_path "$dir/log")"
    [StartAppBeforeDownloadPath]="" [StartAppAfterDownloadPath]=""
    [BaseFile1PathEdit]="$(demo_windows_path "$dir/bases/goods.txt")"
    [BaseFile2PathEdit]="$(demo_windows_path "$dir/bases/prices.txt")"
    [BaseFile3PathEdit]="$(demo_windows_path "$dir/bases/stores.txt")"
    [BaseFile4PathEdit]="" [BaseFile5PathEdit]=""
    [DirectoryWithBasaPath]="$(demo_windows_path "$dir/own-bases")"
    [FileNameForUpload]="$(demo_windows_path "$dir/uploads/DataFile.txt")"
    [DirectoryForUpload]="$(demo_windows_path "$dir/uploads")"
    [StartAppBeforeUploadPath]="" [StartAppAfterUploadPath]="" [PreficsFileName]=""
  )
  local pair name
  for pair in "$@"; do
    name=${pair%%=*}
    if [ -n "${number[$name]+set}" ]; then number[$name]=${pair#*=}; else text[$name]=${pair#*=}; fi
  done
  local reg
  reg="$(mktemp --suffix=.reg)"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Morvane\\Options\\Software]\r\n'
    for name in "${!number[@]}"; do
      printf '"%s"=dword:%08x\r\n' "$name" "${number[$name]}"
    done
    for name in "${!text[@]}"; do
      printf '"%s"="%s"\r\n' "$name" "${text[$name]//\\/\\\\}"
    done
  } | iconv -f UTF-8 -t UTF-16 >"$reg"
  session_wine reg delete "$demo_settings_key" /f >/dev/null 2>&1
  session_wine reg import "$(demo_windows_path "$reg")" >/dev/null 2>&1
  local rc=$?
  rm -f "$reg"
  return $rc
}

demo_settings_exist() {
  session_wine reg query "$demo_settings_key" /v Port >/dev/null 2>&1
}
