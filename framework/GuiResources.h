#pragma once
// The number of GDI objects this process holds. Windows answers GetGuiResources; Wine answers 0 there,
// so under Wine the live entries of the process's GDI handle table are counted instead.
#include <windows.h>

DWORD CountGdiObjects();
