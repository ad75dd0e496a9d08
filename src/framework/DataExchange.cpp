#include "framework/DataExchange.h"

#include <cerrno>
#include <cwchar>

#include "framework/WindowText.h"

namespace morvane {

void DataExchange::Text(int id, std::wstring& value, int maxChars) {
  if (!Active()) return;
  if (m_saving) {
    value = WindowText(::GetDlgItem(m_dialog, id));
  } else {
    if (maxChars > 0) ::SendDlgItemMessageW(m_dialog, id, EM_LIMITTEXT, maxChars, 0);
    ::SetDlgItemTextW(m_dialog, id, value.c_str());
  }
}

void DataExchange::Check(int id, int& flag) {
  if (!Active()) return;
  if (m_saving) {
    flag = ::IsDlgButtonChecked(m_dialog, id) == BST_CHECKED ? 1 : 0;
  } else {
    ::CheckDlgButton(m_dialog, id, flag == 1 ? BST_CHECKED : BST_UNCHECKED);
  }
}

void DataExchange::Int(int id, int& value, int min, int max) {
  if (!Active()) return;
  if (!m_saving) {
    ::SetDlgItemTextW(m_dialog, id, std::to_wstring(value).c_str());
    return;
  }
  const std::wstring text = WindowText(::GetDlgItem(m_dialog, id));
  wchar_t* end = nullptr;
  errno = 0;
  const long long parsed = std::wcstoll(text.c_str(), &end, 10);
  const bool whole = !text.empty() && end && *end == L'\0' && errno == 0;
  if (!whole || parsed < min || parsed > max) {
    Fail(id);
    return;
  }
  value = static_cast<int>(parsed);
}

void DataExchange::Fail(int id) {
  if (!Active()) return;
  m_failedId = id;
  HWND item = ::GetDlgItem(m_dialog, id);
  if (item) {
    ::SetFocus(item);
    ::SendMessageW(item, EM_SETSEL, 0, -1);
  }
  ::MessageBeep(MB_ICONEXCLAMATION);
}

}  // namespace morvane
