#pragma once
// A toolbar docked at the top of a dialog: big image buttons with text under them. Creating it
// moves the dialog's controls down and grows the dialog by the toolbar's height, so that the
// dialog template can be laid out as if there were no toolbar.
#include <windows.h>

#include <commctrl.h>

#include <span>
#include <string>

namespace morvane {

struct ToolBarButton {
  int command;
  int image;  // index in the image list
  const wchar_t* text;
};

class CToolBar {
 public:
  CToolBar() = default;
  ~CToolBar();
  CToolBar(const CToolBar&) = delete;
  CToolBar& operator=(const CToolBar&) = delete;

  // Creates the toolbar as child `id` of parent, with images of imageSize pixels loaded from the
  // bitmaps (white is transparent), and the buttons in order.
  bool Create(HWND parent, int id, int imageSize, std::span<const int> bitmapIds,
              std::span<const ToolBarButton> buttons);
  // Moves the parent's other children down by the toolbar's height and grows the parent to match.
  void MakeRoomInParent();

  void EnableButton(int command, bool enable);
  bool IsButtonEnabled(int command) const;
  HWND Handle() const { return m_hWnd; }

 private:
  HWND m_hWnd = nullptr;
  HIMAGELIST m_images = nullptr;  // owned; the toolbar does not destroy its image list
};

}  // namespace morvane
