#pragma once
// The main window's private messages (WM_USER = 0x0400) and the options pages' notifications.

namespace morvane {

inline constexpr unsigned WM_TRAY_NOTIFY = 0x0401;   // mouse event on the notification icon
inline constexpr unsigned WM_PAGE_OK = 0x0402;       // a page asks the options dialog for OK
inline constexpr unsigned WM_PAGE_CANCEL = 0x0403;   // ... and for Cancel
inline constexpr unsigned WM_DO_UPLOAD = 0x0432;     // serve the next pending upload
inline constexpr unsigned WM_START_HIDDEN = 0x0433;  // end of start-up: stay in the tray
inline constexpr unsigned WM_START_SHOWN = 0x0434;   // end of start-up: show the window

}  // namespace morvane
