#include <windows.h>

#include "app/MorvaneApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  morvane::CMorvaneApp app;
  return app.Run();
}
