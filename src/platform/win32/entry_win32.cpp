#include <windows.h>

#include "app/vexo_main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Registered with the restart manager for restart only: no recovery, no
  // autosave.
  RegisterApplicationRestart(L"", 0);
  return vexo::VexoMain();
}
