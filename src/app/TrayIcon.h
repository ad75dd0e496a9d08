#pragma once
// The notification-area icon of the main window, with its one balloon at start-up. The record is
// filled once and used again to remove the icon.
#include <windows.h>

#include <shellapi.h>

namespace morvane {

class CTrayIcon {
 public:
  CTrayIcon() = default;
  ~CTrayIcon() { Remove(); }
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;

  // Adds the icon for window, reporting mouse events as callbackMessage.
  void Add(HWND window, UINT callbackMessage, HICON icon);
  void Remove();
  // Adds the icon again after the notification area was made anew (Explorer restarted and lost
  // it): the same record without the balloon, which belongs to the start alone.
  void Restore();
  bool IsAdded() const { return m_added; }

 private:
  NOTIFYICONDATAW m_data{};
  bool m_added = false;
};

}  // namespace morvane
