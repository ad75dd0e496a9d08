#pragma once
// What the start watch (a hook library placed in the program under test) notes about the end of
// the program's start-up, in memory shared with the test by name.
#include <windows.h>

namespace morvane::e2e {

inline constexpr wchar_t kStartWatchMapping[] = L"Local\\MorvaneStartWatch";
// The hook procedure that the library exports (undecorated).
inline constexpr char kStartWatchHookName[] = "StartWatchGetMessage";

struct StartWatchRecord {
  LONG visibleAtStartEnd;  // the main window was visible when the message was taken
  LONG startMessage;       // the end-of-start-up message taken first; 0 until then; written last
};

}  // namespace morvane::e2e
