#include "framework/Application.h"

namespace morvane {

CApplication* CApplication::s_current = nullptr;

CApplication::CApplication() {
  s_current = this;
}

CApplication::~CApplication() {
  if (s_current == this) s_current = nullptr;
}

}  // namespace morvane
