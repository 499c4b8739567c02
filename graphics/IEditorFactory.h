#pragma once

class IGraphics;
class IPlugBase;

// The graphics context of this platform's editor window for a plug-in
// (Win32 on Windows, X11 on Linux). moduleHandle is the module the editor's
// pictures are read from where they live in its resources (Windows).
IGraphics* MakeEditorGraphics(IPlugBase* plug, int width, int height, int fps, void* moduleHandle);
