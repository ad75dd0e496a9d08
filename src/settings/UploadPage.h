#pragma once
// The options dialog's "Выгрузка" page: one shared data file or a file per upload in a folder,
// the naming of those files with a live sample, clearing the terminal's data, and the programs
// run before and after an upload. The page fills its controls from the settings when it opens;
// the only setting it changes itself is an over-long fixed name, cut to 40 characters.
#include <span>
#include <string>

#include "settings/EmbeddedDlg.h"
#include "settings/MyEdit.h"
#include "settings/UploadPageRules.h"

namespace morvane {

struct ServerSettings;

class CTabDlgPageUpload : public CEmbeddedDlg<CTabDlgPageUpload> {
 public:
  explicit CTabDlgPageUpload(ServerSettings& settings);
  static std::span<const MessageEntry<CTabDlgPageUpload>> MessageMap();

  // Apply's Upload block, in its order. The start number reaches SuffiksIndex only when the user
  // changed it since the page opened (or since it was last taken): uploads served meanwhile
  // advance SuffiksIndex, and the number shown at opening would send the counter back.
  void ReadBack(ServerSettings& settings);

  int StartNumber() const { return m_startNumber; }

 protected:
  BOOL OnInit() override;

 private:
  // Reads field 1016 into the start number, with a message box when it is not a whole number in
  // range; the field then has the focus with its text selected.
  StartNumberReading TakeStartNumber();
  void EnableForMode();
  void RefreshSample();
  void SetTextQuietly(int id, const std::wstring& text);

  INT_PTR OnKindClicked(WPARAM, LPARAM);
  INT_PTR OnBrowseTarget(WPARAM, LPARAM);
  INT_PTR OnBeforeChecked(WPARAM, LPARAM);
  INT_PTR OnAfterChecked(WPARAM, LPARAM);
  INT_PTR OnBrowseBefore(WPARAM, LPARAM);
  INT_PTR OnBrowseAfter(WPARAM, LPARAM);
  INT_PTR OnNameKindClicked(WPARAM, LPARAM);
  INT_PTR OnSuffixKindClicked(WPARAM, LPARAM);
  INT_PTR OnDigitsChanged(WPARAM, LPARAM);
  INT_PTR OnSpinDelta(WPARAM, LPARAM);
  INT_PTR OnNamingChanged(WPARAM, LPARAM);

  ServerSettings& m_settings;
  CMyEdit m_prefixEdit;
  int m_startNumber = 1;
  // The start number's text as the page last put it there or took it over.
  std::wstring m_startTextTaken;
  // While the page writes its own fields, their change notifications refresh nothing.
  bool m_quiet = false;
};

}  // namespace morvane
