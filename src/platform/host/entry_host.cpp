#include "app/vexo_main.h"

int main() { return vexo::VexoMain(); }
