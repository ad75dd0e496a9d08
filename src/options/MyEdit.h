#pragma once
// The Upload page's file-name field: an edit control that refuses, as they are typed, the
// characters a file name may not hold, and says why in a balloon tip. Pasted text is not
// filtered (Apply cleans the name instead).
#include <windows.h>

#include "framework/Controls.h"

namespace morvane {

inline constexpr wchar_t kFileNameBalloonText[] =
    L"Имя файла не должно содержать следующих знаков:\r\n\t\\ / : * ? \" < > |";

class CMyEdit : public CEdit {
 public:
  CMyEdit() = default;
  ~CMyEdit();
  CMyEdit(const CMyEdit&) = delete;
  CMyEdit& operator=(const CMyEdit&) = delete;

  // Binds the dialog's edit and takes over its typed characters until the edit is destroyed or
  // this object goes.
  bool Attach(HWND dialog, int id);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data);
  void Detach();
};

}  // namespace morvane
