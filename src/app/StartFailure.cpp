#include "app/StartFailure.h"

#include "terminal/FatalError.h"

namespace morvane {

void ShowStartFailure() {
  ::MessageBoxW(nullptr, kStartFailed, kErrorCaption, MB_ICONERROR);
}

}  // namespace morvane
