#pragma once
// The top-level windows of one process, visible or not, as another process finds them: the
// server's windows seen by the tests and by the tools that drive it.
#include <windows.h>

#include <vector>

namespace morvane {

namespace detail {

struct TopLevelWindowSearch {
  DWORD processId;  // 0: every process
  std::vector<HWND> found;
};

inline BOOL CALLBACK CollectTopLevelWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopLevelWindowSearch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (search->processId == 0 || owner == search->processId) search->found.push_back(window);
  return TRUE;
}

}  // namespace detail

inline std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  detail::TopLevelWindowSearch search{processId, {}};
  ::EnumWindows(detail::CollectTopLevelWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace morvane
