// No editor window on this platform yet: hosts show their own parameter panel.
#ifndef _WIN32

#include "graphics/IEditorFactory.h"

IGraphics* MakeEditorGraphics(IPlugBase*, int, int, int, void*) { return nullptr; }

#endif
