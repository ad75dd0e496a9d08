#include "options/UploadPage.h"

#include "exchange/DataFileName.h"
#include "log/LogView.h"
#include "options/FilePickers.h"
#include "options/FolderPicker.h"
#include "res/resource.h"
#include "settings/ServerSettings.h"

namespace morvane {
namespace {

constexpr wchar_t kMessageCaption[] = L"Сервер обновления терминалов";
constexpr int kDigitChoices = 5;

// Sets a flag for the length of a scope.
class QuietScope {
 public:
  explicit QuietScope(bool& flag) : m_flag(flag), m_was(flag) { m_flag = true; }
  ~QuietScope() { m_flag = m_was; }
  QuietScope(const QuietScope&) = delete;
  QuietScope& operator=(const QuietScope&) = delete;

 private:
  bool& m_flag;
  bool m_was;
};

}  // namespace

CTabDlgPageUpload::CTabDlgPageUpload(const OptionsContext& context)
    : CDialogImpl(IDD_PAGE_UPLOAD, context) {}

std::span<const MessageEntry<CTabDlgPageUpload>> CTabDlgPageUpload::MessageMap() {
  using D = CTabDlgPageUpload;
  static constexpr MessageEntry<D> kMap[] = {
      CommandHandler<&D::OnKindClicked>(IDC_UL_KIND_SHARED, BN_CLICKED),
      CommandHandler<&D::OnKindClicked>(IDC_UL_KIND_SEPARATE, BN_CLICKED),
      CommandHandler<&D::OnBrowseTarget>(IDC_UL_TARGET_BROWSE, BN_CLICKED),
      CommandHandler<&D::OnBeforeClicked>(IDC_UL_BEFORE_CHECK, BN_CLICKED),
      CommandHandler<&D::OnAfterClicked>(IDC_UL_AFTER_CHECK, BN_CLICKED),
      CommandHandler<&D::OnBrowseBefore>(IDC_UL_BEFORE_BROWSE, BN_CLICKED),
      CommandHandler<&D::OnBrowseAfter>(IDC_UL_AFTER_BROWSE, BN_CLICKED),
      CommandHandler<&D::OnNameKindClicked>(IDC_UL_NAME_SERIAL, BN_CLICKED),
      CommandHandler<&D::OnNameKindClicked>(IDC_UL_NAME_FIXED, BN_CLICKED),
      CommandHandler<&D::OnSuffixKindClicked>(IDC_UL_SUFFIX_COUNTER, BN_CLICKED),
      CommandHandler<&D::OnSuffixKindClicked>(IDC_UL_SUFFIX_TIME, BN_CLICKED),
      CommandHandler<&D::OnDigitsChanged>(IDC_UL_DIGITS, CBN_SELCHANGE),
      NotifyHandler<&D::OnStartSpin>(IDC_UL_START_SPIN, UDN_DELTAPOS),
      CommandHandler<&D::OnNamingChanged>(IDC_UL_PREFIX, EN_CHANGE),
      CommandHandler<&D::OnNamingChanged>(IDC_UL_START, EN_CHANGE),
      CommandHandler<&D::OnNamingChanged>(IDC_UL_ADD_BASE, BN_CLICKED),
  };
  return kMap;
}

BOOL CTabDlgPageUpload::OnInit() {
  m_kindShared.Attach(m_hWnd, IDC_UL_KIND_SHARED);
  m_kindSeparate.Attach(m_hWnd, IDC_UL_KIND_SEPARATE);
  m_target.Attach(m_hWnd, IDC_UL_TARGET);
  m_before.Attach(m_hWnd, IDC_UL_BEFORE_CHECK, IDC_UL_BEFORE_PATH, IDC_UL_BEFORE_BROWSE);
  m_after.Attach(m_hWnd, IDC_UL_AFTER_CHECK, IDC_UL_AFTER_PATH, IDC_UL_AFTER_BROWSE);
  m_clearBases.Attach(m_hWnd, IDC_UL_CLEAR_BASES);
  m_clearFiles.Attach(m_hWnd, IDC_UL_CLEAR_FILES);
  m_nameSerial.Attach(m_hWnd, IDC_UL_NAME_SERIAL);
  m_nameFixed.Attach(m_hWnd, IDC_UL_NAME_FIXED);
  m_suffixCounter.Attach(m_hWnd, IDC_UL_SUFFIX_COUNTER);
  m_suffixTime.Attach(m_hWnd, IDC_UL_SUFFIX_TIME);
  m_prefix.Attach(m_hWnd, IDC_UL_PREFIX);
  m_start.Attach(m_hWnd, IDC_UL_START);
  m_digits.Attach(m_hWnd, IDC_UL_DIGITS);
  m_startSpin.Attach(m_hWnd, IDC_UL_START_SPIN);
  m_addBaseNumber.Attach(m_hWnd, IDC_UL_ADD_BASE);
  m_sample.Attach(m_hWnd, IDC_UL_SAMPLE);

  ServerSettings& s = m_context.settings;
  {
    QuietScope quiet(m_quiet);
    m_start.SetText(std::to_wstring(m_startNumber));

    const bool sharedFile = IsSet(s.OneFileForAllTSD);
    m_kindShared.SetCheck(sharedFile);
    m_kindSeparate.SetCheck(!sharedFile);
    m_target.SetText(sharedFile ? s.FileNameForUpload : s.DirectoryForUpload);
    m_before.Fill(s.StarAppBeforeUpload, s.StartAppBeforeUploadPath);
    m_after.Fill(s.StarAppAfterUpload, s.StartAppAfterUploadPath);
    m_clearBases.SetCheck(IsSet(s.ClearBDAfterUpload));
    m_clearFiles.SetCheck(IsSet(s.ClearFilesAfterUpload));

    for (int i = 1; i <= kDigitChoices; ++i)
      m_digits.AddString(std::to_wstring(i));
    // An index outside the list selects nothing: the field then keeps the edit's own limit and
    // the up-down its own range.
    m_digits.SetCurSel(s.ColNumberIndex);
    const int digitIndex = m_digits.CurSel();
    if (digitIndex >= 0) m_start.LimitText(digitIndex + 1);
    m_prefix.LimitText(kFileNamePrefixMaxChars);

    m_nameSerial.SetCheck(IsSet(s.SNFileName));
    m_nameFixed.SetCheck(!IsSet(s.SNFileName));
    m_suffixCounter.SetCheck(IsSet(s.SuffiksRadio));
    m_suffixTime.SetCheck(!IsSet(s.SuffiksRadio));
    m_addBaseNumber.SetCheck(IsSet(s.AddNumberBD));

    // The field shows at most 40 characters, and the setting itself is cut to match; the cut
    // stays even when the dialog is cancelled.
    if (s.PreficsFileName.size() > kFileNamePrefixMaxChars)
      s.PreficsFileName.resize(kFileNamePrefixMaxChars);
    m_prefix.SetText(s.PreficsFileName);

    if (digitIndex >= 0)
      m_startSpin.SetRange32(kStartNumberMin, CounterFormatFor(digitIndex).largest);
    m_startNumber = s.SuffiksIndex;
    m_startTextTaken = std::to_wstring(m_startNumber);
    m_start.SetText(m_startTextTaken);
  }
  EnableForMode();
  RefreshSample();
  return TRUE;
}

StartNumberReading CTabDlgPageUpload::TakeStartNumber() {
  const StartNumberReading reading = ReadStartNumber(m_start.Text(), m_startNumber);
  if (reading == StartNumberReading::Number) return reading;
  const std::wstring message = reading == StartNumberReading::NotANumber
                                   ? std::wstring(L"Enter an integer.")
                                   : L"Enter an integer between " +
                                         std::to_wstring(kStartNumberMin) + L" and " +
                                         std::to_wstring(kStartNumberMax) + L".";
  ::MessageBoxW(::GetAncestor(m_hWnd, GA_ROOT), message.c_str(), kMessageCaption,
                MB_OK | MB_ICONEXCLAMATION);
  ::SetFocus(m_start.Handle());
  ::SendMessageW(m_start.Handle(), EM_SETSEL, 0, -1);
  return reading;
}

void CTabDlgPageUpload::EnableForMode() const {
  // A shared file has no names to make: every naming control is greyed.
  const bool separate = m_kindShared.Check() == 0;
  for (int id :
       {IDC_UL_NAME_SERIAL, IDC_UL_NAME_FIXED, IDC_UL_SUFFIX_COUNTER, IDC_UL_SUFFIX_TIME,
        IDC_UL_ADD_BASE, IDC_UL_SAMPLE, IDC_UL_PLUS, IDC_UL_START_LABEL, IDC_UL_DIGITS_LABEL}) {
    ::EnableWindow(Item(id), separate);
  }
  m_prefix.Enable(separate && m_nameSerial.Check() == 0);
  const bool counter = separate && m_suffixCounter.Check() == 1;
  m_start.Enable(counter);
  m_digits.Enable(counter);
  m_startSpin.Enable(counter);
}

void CTabDlgPageUpload::RefreshSample() {
  if (!m_nameSerial || !m_prefix || !m_suffixCounter || !m_digits || !m_sample ||
      !m_addBaseNumber) {
    return;
  }
  SampleNameChoices choices;
  choices.serialNumber = m_nameSerial.Check() == 1;
  choices.fixedName = m_prefix.Text();
  choices.addBaseNumber = m_addBaseNumber.Check() == 1;
  choices.counterSuffix = m_suffixCounter.Check() == 1;
  choices.digitIndex = m_digits.CurSel();
  if (choices.counterSuffix && choices.digitIndex >= 0) TakeStartNumber();
  choices.startNumber = m_startNumber;
  m_sample.SetText(BuildSampleFileName(choices, CSystemClock().NowUtc()));
}

void CTabDlgPageUpload::OnKindClicked() {
  // The stored value of the chosen kind; what was typed for the other kind is dropped.
  const ServerSettings& s = m_context.settings;
  m_target.SetText(m_kindShared.Check() == 1 ? s.FileNameForUpload : s.DirectoryForUpload);
  EnableForMode();
}

void CTabDlgPageUpload::OnBrowseTarget() {
  if (m_kindShared.Check() == 1) {
    std::wstring path;
    if (PickDataFileToSave(m_hWnd, path)) m_target.SetText(path);
  } else {
    m_target.SetText(PickFolder(m_hWnd, m_target.Text()));
  }
}

void CTabDlgPageUpload::OnNameKindClicked() {
  m_prefix.Enable(m_nameFixed.Check() == 1);
  RefreshSample();
}

void CTabDlgPageUpload::OnSuffixKindClicked() {
  const bool counter = m_suffixCounter.Check() == 1;
  m_start.Enable(counter);
  m_digits.Enable(counter);
  m_startSpin.Enable(counter);
  RefreshSample();
}

void CTabDlgPageUpload::OnDigitsChanged() {
  const int index = m_digits.CurSel();
  if (index < 0) return;
  m_startSpin.SetRange32(kStartNumberMin, CounterFormatFor(index).largest);
  {
    // One refresh below, so that an invalid number is reported once.
    QuietScope quiet(m_quiet);
    m_start.SetText(CutStartNumberText(m_start.Text(), index));
  }
  m_start.LimitText(index + 1);
  RefreshSample();
}

LRESULT CTabDlgPageUpload::OnStartSpin(NMHDR*) {
  TakeStartNumber();
  return 0;  // the change is allowed
}

void CTabDlgPageUpload::OnNamingChanged() {
  if (!m_quiet) RefreshSample();
}

void CTabDlgPageUpload::Apply() {
  ServerSettings& s = m_context.settings;
  const bool sharedFile = m_kindShared.Check() == 1;
  s.OneFileForAllTSD = sharedFile ? 1 : 0;
  (sharedFile ? s.FileNameForUpload : s.DirectoryForUpload) = m_target.Text();
  s.StarAppBeforeUpload = m_before.Check();
  s.StarAppAfterUpload = m_after.Check();
  s.StartAppBeforeUploadPath = m_before.Path();
  s.StartAppAfterUploadPath = m_after.Path();
  s.ClearBDAfterUpload = m_clearBases.Check();
  s.ClearFilesAfterUpload = m_clearFiles.Check();
  s.SNFileName = m_nameSerial.Check();
  s.SuffiksRadio = m_suffixCounter.Check();
  s.AddNumberBD = m_addBaseNumber.Check();
  // Pasted text is not filtered as it is typed; the field keeps showing it.
  s.PreficsFileName = CleanFileNamePrefix(m_prefix.Text());
  s.ColNumberIndex = m_digits.CurSel();

  const std::wstring startText = m_start.Text();
  if (startText == m_startTextTaken) return;  // not changed here: the running counter stays
  if (TakeStartNumber() != StartNumberReading::Number) return;
  s.SuffiksIndex = m_startNumber;
  m_startTextTaken = startText;
}

}  // namespace morvane
