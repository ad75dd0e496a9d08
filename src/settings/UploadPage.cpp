#include "settings/UploadPage.h"

#include <commctrl.h>

#include "exchange/DataFileName.h"
#include "log/LogView.h"
#include "res/resource.h"
#include "settings/FilePickers.h"
#include "settings/PageControls.h"
#include "settings/ServerSettings.h"

namespace morvane {
namespace {

constexpr wchar_t kMessageCaption[] = L"Сервер обновления терминалов";
constexpr int kDigitChoices = 5;

}  // namespace

CTabDlgPageUpload::CTabDlgPageUpload(ServerSettings& settings)
    : CEmbeddedDlg(IDD_PAGE_UPLOAD), m_settings(settings) {}

std::span<const MessageEntry<CTabDlgPageUpload>> CTabDlgPageUpload::MessageMap() {
  using D = CTabDlgPageUpload;
  static constexpr MessageEntry<D> kMap[] = {
      OnCommandCodeEntry<D>(IDC_UL_KIND_SHARED, BN_CLICKED, &D::OnKindClicked),
      OnCommandCodeEntry<D>(IDC_UL_KIND_SEPARATE, BN_CLICKED, &D::OnKindClicked),
      OnCommandCodeEntry<D>(IDC_UL_TARGET_BROWSE, BN_CLICKED, &D::OnBrowseTarget),
      OnCommandCodeEntry<D>(IDC_UL_BEFORE_CHECK, BN_CLICKED, &D::OnBeforeChecked),
      OnCommandCodeEntry<D>(IDC_UL_AFTER_CHECK, BN_CLICKED, &D::OnAfterChecked),
      OnCommandCodeEntry<D>(IDC_UL_BEFORE_BROWSE, BN_CLICKED, &D::OnBrowseBefore),
      OnCommandCodeEntry<D>(IDC_UL_AFTER_BROWSE, BN_CLICKED, &D::OnBrowseAfter),
      OnCommandCodeEntry<D>(IDC_UL_NAME_SERIAL, BN_CLICKED, &D::OnNameKindClicked),
      OnCommandCodeEntry<D>(IDC_UL_NAME_FIXED, BN_CLICKED, &D::OnNameKindClicked),
      OnCommandCodeEntry<D>(IDC_UL_SUFFIX_COUNTER, BN_CLICKED, &D::OnSuffixKindClicked),
      OnCommandCodeEntry<D>(IDC_UL_SUFFIX_TIME, BN_CLICKED, &D::OnSuffixKindClicked),
      OnCommandCodeEntry<D>(IDC_UL_DIGITS, CBN_SELCHANGE, &D::OnDigitsChanged),
      OnNotifyEntry<D>(IDC_UL_START_SPIN, UDN_DELTAPOS, &D::OnSpinDelta),
      OnCommandCodeEntry<D>(IDC_UL_PREFIX, EN_CHANGE, &D::OnNamingChanged),
      OnCommandCodeEntry<D>(IDC_UL_START, EN_CHANGE, &D::OnNamingChanged),
      OnCommandCodeEntry<D>(IDC_UL_ADD_BASE, BN_CLICKED, &D::OnNamingChanged),
  };
  return kMap;
}

BOOL CTabDlgPageUpload::OnInit() {
  m_quiet = true;
  m_prefixEdit.Attach(Item(IDC_UL_PREFIX));
  SetItemText(IDC_UL_START, std::to_wstring(m_startNumber));

  const bool sharedFile = IsSet(m_settings.OneFileForAllTSD);
  ::CheckDlgButton(m_hWnd, IDC_UL_KIND_SHARED, sharedFile ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(m_hWnd, IDC_UL_KIND_SEPARATE, sharedFile ? BST_UNCHECKED : BST_CHECKED);
  SetItemText(IDC_UL_TARGET,
              sharedFile ? m_settings.FileNameForUpload : m_settings.DirectoryForUpload);

  SetCheckFromFlag(m_hWnd, IDC_UL_BEFORE_CHECK, m_settings.StarAppBeforeUpload);
  SetCheckFromFlag(m_hWnd, IDC_UL_AFTER_CHECK, m_settings.StarAppAfterUpload);
  SetItemText(IDC_UL_BEFORE_PATH, m_settings.StartAppBeforeUploadPath);
  SetItemText(IDC_UL_AFTER_PATH, m_settings.StartAppAfterUploadPath);
  OnBeforeChecked(0, 0);
  OnAfterChecked(0, 0);

  SetCheckFromFlag(m_hWnd, IDC_UL_CLEAR_BASES, m_settings.ClearBDAfterUpload);
  SetCheckFromFlag(m_hWnd, IDC_UL_CLEAR_FILES, m_settings.ClearFilesAfterUpload);

  HWND digits = Item(IDC_UL_DIGITS);
  for (int i = 1; i <= kDigitChoices; ++i)
    ::SendMessageW(digits, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(i).c_str()));
  // An index outside the list selects nothing; the field then keeps the edit's own limit.
  const int digitIndex = m_settings.ColNumberIndex;
  const bool digitsChosen = digitIndex >= 0 && digitIndex < kDigitChoices;
  ::SendMessageW(digits, CB_SETCURSEL, digitsChosen ? digitIndex : -1, 0);
  if (digitsChosen) ::SendDlgItemMessageW(m_hWnd, IDC_UL_START, EM_LIMITTEXT, digitIndex + 1, 0);

  ::SendDlgItemMessageW(m_hWnd, IDC_UL_PREFIX, EM_LIMITTEXT, kFileNamePrefixMaxChars, 0);
  const bool serial = IsSet(m_settings.SNFileName);
  ::CheckDlgButton(m_hWnd, IDC_UL_NAME_SERIAL, serial ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(m_hWnd, IDC_UL_NAME_FIXED, serial ? BST_UNCHECKED : BST_CHECKED);
  const bool counter = IsSet(m_settings.SuffiksRadio);
  ::CheckDlgButton(m_hWnd, IDC_UL_SUFFIX_COUNTER, counter ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(m_hWnd, IDC_UL_SUFFIX_TIME, counter ? BST_UNCHECKED : BST_CHECKED);
  SetCheckFromFlag(m_hWnd, IDC_UL_ADD_BASE, m_settings.AddNumberBD);

  // The field shows at most 40 characters, and the setting itself is cut to match (kept even
  // when the dialog is cancelled).
  if (m_settings.PreficsFileName.size() > kFileNamePrefixMaxChars)
    m_settings.PreficsFileName.resize(kFileNamePrefixMaxChars);
  SetItemText(IDC_UL_PREFIX, m_settings.PreficsFileName);

  if (digitsChosen) {
    ::SendDlgItemMessageW(m_hWnd, IDC_UL_START_SPIN, UDM_SETRANGE32, kStartNumberMin,
                          CounterFormatFor(digitIndex).largest);
  }
  m_startNumber = m_settings.SuffiksIndex;
  m_startTextTaken = std::to_wstring(m_startNumber);
  SetItemText(IDC_UL_START, m_startTextTaken);
  m_quiet = false;

  EnableForMode();
  RefreshSample();
  return TRUE;
}

void CTabDlgPageUpload::SetTextQuietly(int id, const std::wstring& text) {
  const bool wasQuiet = m_quiet;
  m_quiet = true;
  SetItemText(id, text);
  m_quiet = wasQuiet;
}

StartNumberReading CTabDlgPageUpload::TakeStartNumber() {
  const StartNumberReading reading = ReadStartNumber(ItemText(IDC_UL_START), m_startNumber);
  if (reading == StartNumberReading::Number) return reading;
  const std::wstring message = reading == StartNumberReading::NotANumber
                                   ? std::wstring(L"Enter an integer.")
                                   : L"Enter an integer between " +
                                         std::to_wstring(kStartNumberMin) + L" and " +
                                         std::to_wstring(kStartNumberMax) + L".";
  ::MessageBoxW(::GetAncestor(m_hWnd, GA_ROOT), message.c_str(), kMessageCaption,
                MB_OK | MB_ICONEXCLAMATION);
  HWND field = Item(IDC_UL_START);
  ::SetFocus(field);
  ::SendMessageW(field, EM_SETSEL, 0, -1);
  return reading;
}

void CTabDlgPageUpload::EnableForMode() {
  const bool separate = !IsChecked(m_hWnd, IDC_UL_KIND_SHARED);
  EnableItems(
      m_hWnd,
      {IDC_UL_NAME_SERIAL, IDC_UL_NAME_FIXED, IDC_UL_SUFFIX_COUNTER, IDC_UL_SUFFIX_TIME,
       IDC_UL_ADD_BASE, IDC_UL_SAMPLE, IDC_UL_PLUS, IDC_UL_START_LABEL, IDC_UL_DIGITS_LABEL},
      separate);
  EnableItems(m_hWnd, {IDC_UL_PREFIX}, separate && !IsChecked(m_hWnd, IDC_UL_NAME_SERIAL));
  EnableItems(m_hWnd, {IDC_UL_START, IDC_UL_DIGITS, IDC_UL_START_SPIN},
              separate && IsChecked(m_hWnd, IDC_UL_SUFFIX_COUNTER));
}

void CTabDlgPageUpload::RefreshSample() {
  for (int id : {IDC_UL_NAME_SERIAL, IDC_UL_PREFIX, IDC_UL_SUFFIX_COUNTER, IDC_UL_DIGITS,
                 IDC_UL_SAMPLE, IDC_UL_ADD_BASE}) {
    if (!Item(id)) return;
  }
  SampleNameChoices choices;
  choices.serialNumber = IsChecked(m_hWnd, IDC_UL_NAME_SERIAL);
  choices.fixedName = ItemText(IDC_UL_PREFIX);
  choices.addBaseNumber = IsChecked(m_hWnd, IDC_UL_ADD_BASE);
  choices.counterSuffix = IsChecked(m_hWnd, IDC_UL_SUFFIX_COUNTER);
  choices.digitIndex =
      static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_UL_DIGITS, CB_GETCURSEL, 0, 0));
  if (choices.counterSuffix && choices.digitIndex >= 0) TakeStartNumber();
  choices.startNumber = m_startNumber;
  SetItemText(IDC_UL_SAMPLE, BuildSampleFileName(choices, CSystemClock().NowUtc()));
}

INT_PTR CTabDlgPageUpload::OnKindClicked(WPARAM, LPARAM) {
  // The stored value of the chosen kind; what was typed for the other kind is dropped.
  const bool sharedFile = IsChecked(m_hWnd, IDC_UL_KIND_SHARED);
  SetItemText(IDC_UL_TARGET,
              sharedFile ? m_settings.FileNameForUpload : m_settings.DirectoryForUpload);
  EnableForMode();
  return TRUE;
}

INT_PTR CTabDlgPageUpload::OnBrowseTarget(WPARAM, LPARAM) {
  if (IsChecked(m_hWnd, IDC_UL_KIND_SHARED)) {
    std::wstring path;
    if (PickDataFileToSave(m_hWnd, path)) SetItemText(IDC_UL_TARGET, path);
  } else {
    // TODO folder picker
  }
  return TRUE;
}

INT_PTR CTabDlgPageUpload::OnBeforeChecked(WPARAM, LPARAM) {
  EnableProgramRow(m_hWnd, IDC_UL_BEFORE_CHECK, IDC_UL_BEFORE_PATH, IDC_UL_BEFORE_BROWSE);
  return TRUE;
}

INT_PTR CTabDlgPageUpload::OnAfterChecked(WPARAM, LPARAM) {
  EnableProgramRow(m_hWnd, IDC_UL_AFTER_CHECK, IDC_UL_AFTER_PATH, IDC_UL_AFTER_BROWSE);
  return TRUE;
}

INT_PTR CTabDlgPageUpload::OnBrowseBefore(WPARAM, LPARAM) {
  BrowseExecutableInto(m_hWnd, IDC_UL_BEFORE_PATH);
  return TRUE;
}

INT_PTR CTabDlgPageUpload::OnBrowseAfter(WPARAM, LPARAM) {
  BrowseExecutableInto(m_hWnd, IDC_UL_AFTER_PATH);
  return TRUE;
}

INT_PTR CTabDlgPageUpload::OnNameKindClicked(WPARAM, LPARAM) {
  EnableItems(m_hWnd, {IDC_UL_PREFIX}, IsChecked(m_hWnd, IDC_UL_NAME_FIXED));
  RefreshSample();
  return TRUE;
}

INT_PTR CTabDlgPageUpload::OnSuffixKindClicked(WPARAM, LPARAM) {
  EnableItems(m_hWnd, {IDC_UL_START, IDC_UL_DIGITS, IDC_UL_START_SPIN},
              IsChecked(m_hWnd, IDC_UL_SUFFIX_COUNTER));
  RefreshSample();
  return TRUE;
}

INT_PTR CTabDlgPageUpload::OnDigitsChanged(WPARAM, LPARAM) {
  const int index =
      static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_UL_DIGITS, CB_GETCURSEL, 0, 0));
  if (index < 0) return TRUE;
  ::SendDlgItemMessageW(m_hWnd, IDC_UL_START_SPIN, UDM_SETRANGE32, kStartNumberMin,
                        CounterFormatFor(index).largest);
  // One refresh below, so that an invalid number is reported once.
  SetTextQuietly(IDC_UL_START, CutStartNumberText(ItemText(IDC_UL_START), index));
  ::SendDlgItemMessageW(m_hWnd, IDC_UL_START, EM_LIMITTEXT, index + 1, 0);
  RefreshSample();
  return TRUE;
}

INT_PTR CTabDlgPageUpload::OnSpinDelta(WPARAM, LPARAM) {
  TakeStartNumber();
  SetMsgResult(0);  // the change is allowed
  return TRUE;
}

INT_PTR CTabDlgPageUpload::OnNamingChanged(WPARAM, LPARAM) {
  if (!m_quiet) RefreshSample();
  return TRUE;
}

void CTabDlgPageUpload::ReadBack(ServerSettings& settings) {
  const bool sharedFile = IsChecked(m_hWnd, IDC_UL_KIND_SHARED);
  settings.OneFileForAllTSD = sharedFile ? 1 : 0;
  (sharedFile ? settings.FileNameForUpload : settings.DirectoryForUpload) = ItemText(IDC_UL_TARGET);
  settings.StarAppBeforeUpload = CheckFlag(m_hWnd, IDC_UL_BEFORE_CHECK);
  settings.StarAppAfterUpload = CheckFlag(m_hWnd, IDC_UL_AFTER_CHECK);
  settings.StartAppBeforeUploadPath = ItemText(IDC_UL_BEFORE_PATH);
  settings.StartAppAfterUploadPath = ItemText(IDC_UL_AFTER_PATH);
  settings.ClearBDAfterUpload = CheckFlag(m_hWnd, IDC_UL_CLEAR_BASES);
  settings.ClearFilesAfterUpload = CheckFlag(m_hWnd, IDC_UL_CLEAR_FILES);
  settings.SNFileName = CheckFlag(m_hWnd, IDC_UL_NAME_SERIAL);
  settings.SuffiksRadio = CheckFlag(m_hWnd, IDC_UL_SUFFIX_COUNTER);
  settings.AddNumberBD = CheckFlag(m_hWnd, IDC_UL_ADD_BASE);
  // Pasted text is not filtered as it is typed; the field keeps showing it.
  settings.PreficsFileName = CleanFileNamePrefix(ItemText(IDC_UL_PREFIX));
  settings.ColNumberIndex =
      static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_UL_DIGITS, CB_GETCURSEL, 0, 0));

  const std::wstring startText = ItemText(IDC_UL_START);
  if (startText == m_startTextTaken) return;  // not changed: the running counter stays
  if (TakeStartNumber() != StartNumberReading::Number) return;
  settings.SuffiksIndex = m_startNumber;
  m_startTextTaken = startText;
}

}  // namespace morvane
