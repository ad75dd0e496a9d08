#pragma once
// Every persisted option of the server, each field named exactly as its registry value (the old
// spellings included: stored keys depend on them). Flags hold 0 or 1 and count as set only when 1;
// counts are signed 32-bit numbers; texts are wide strings. The component's Port, Delay and
// Delimiter are not here: they live as the component's own properties.
#include <string>

namespace morvane {

struct ServerSettings {
  // Upload
  int OneFileForAllTSD = 1;  // 1: every terminal's data goes into FileNameForUpload
  std::wstring FileNameForUpload;
  std::wstring DirectoryForUpload;
  int StarAppBeforeUpload = 0;
  int StarAppAfterUpload = 0;
  std::wstring StartAppBeforeUploadPath;
  std::wstring StartAppAfterUploadPath;
  int ClearBDAfterUpload = 0;
  int ClearFilesAfterUpload = 0;

  // Upload file names
  int SNFileName = 1;  // 1: name starts with the serial number, else with PreficsFileName
  std::wstring PreficsFileName;
  int AddNumberBD = 1;
  int SuffiksRadio = 0;    // 1: counter suffix, else date and time
  int ColNumberIndex = 4;  // counter digits - 1
  int SuffiksIndex = 1;    // number of the next counted file

  // Download
  int StartAppBeforeDownload = 0;
  int StartAppAfterDownload = 0;
  std::wstring StartAppBeforeDownloadPath;
  std::wstring StartAppAfterDownloadPath;
  int OneFileForAll_TSD = 1;  // 1: shared base files, else a file of its own per terminal
  std::wstring BaseFile1PathEdit;
  std::wstring BaseFile2PathEdit;
  std::wstring BaseFile3PathEdit;
  std::wstring BaseFile4PathEdit;
  std::wstring BaseFile5PathEdit;
  std::wstring DirectoryWithBasaPath;
  int DeleteFileBeforeDownload = 0;  // delete a per-terminal base file once it was sent

  // Window and log
  int MinimizeToTray = 1;
  int MinimizeToTaryWhenStart = 0;
  int AlphaBlends = 0;
  int AlphaBlendsCount = 255;
  int SaveLogWhenQuite = 1;
  int SaveLogOneFile = 1;
  std::wstring DirectoryLog;

  // Start-up
  int AutoRun = 0;
  int AutoConnect = 0;
};

// True when a flag holds exactly 1, the only value that counts as set.
inline bool IsSet(int flag) {
  return flag == 1;
}

}  // namespace morvane
