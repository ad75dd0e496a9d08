#pragma once
// The Upload page's file-name field: an edit control that refuses, as they are typed, the
// characters a file name may not hold, and says why in a balloon tip. Pasted text is not
// filtered (the options dialog cleans the name when it applies it).
#include <windows.h>

namespace morvane {

inline constexpr wchar_t kFileNameBalloonText[] =
    L"Имя файла не должно содержать следующих знаков:\r\n\t\\ / : * ? \" < > |";

class CMyEdit {
 public:
  CMyEdit() = default;
  ~CMyEdit();
  CMyEdit(const CMyEdit&) = delete;
  CMyEdit& operator=(const CMyEdit&) = delete;

  // Takes over the edit's typed characters until the edit is destroyed or this object goes.
  bool Attach(HWND edit);
  HWND Handle() const { return m_hWnd; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data);
  void Detach();
  HWND m_hWnd = nullptr;
};

}  // namespace morvane
