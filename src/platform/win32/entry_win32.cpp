#include <windows.h>

#include "app/vexo_main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return vexo::VexoMain(); }
