// Without GDI there is no system font to make; text then draws nothing.
#ifndef _WIN32

#include "raster/LICE_SystemFont.h"

LICE_IFont* LICE_CreateSystemFont(const LICE_FontSpec&) { return nullptr; }

#endif
