#pragma once
// Small chores that the option pages repeat on their controls.
#include <windows.h>

#include <initializer_list>

namespace morvane {

// BM_GETCHECK reports the ticked state.
inline bool IsChecked(HWND dialog, int id) {
  return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}
// A setting's flag as a check state: ticked only when it holds exactly 1.
inline void SetCheckFromFlag(HWND dialog, int id, int flag) {
  ::CheckDlgButton(dialog, id, flag == 1 ? BST_CHECKED : BST_UNCHECKED);
}
inline int CheckFlag(HWND dialog, int id) {
  return IsChecked(dialog, id) ? 1 : 0;
}
inline void EnableItems(HWND dialog, std::initializer_list<int> ids, bool enable) {
  for (int id : ids)
    ::EnableWindow(::GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

// A program row: its path edit and "..." button are enabled exactly when its box is ticked.
// A disabled row keeps its text.
inline void EnableProgramRow(HWND dialog, int check, int edit, int button) {
  EnableItems(dialog, {edit, button}, IsChecked(dialog, check));
}

// The executable picker, owned by the dialog; a confirmed path replaces the edit's text.
void BrowseExecutableInto(HWND dialog, int edit);

// Sets a child dialog at a place in its parent, keeping its size and z-order, shown or hidden.
void PlaceChildDialog(HWND child, int x, int y, bool show);

}  // namespace morvane
