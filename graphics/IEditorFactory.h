#pragma once

class IGraphics;
class IPlugBase;

// The graphics context of this platform's editor window for a plug-in, or
// null where the platform has no editor window yet. moduleHandle is the
// module the editor's pictures are read from.
IGraphics* MakeEditorGraphics(IPlugBase* plug, int width, int height, int fps, void* moduleHandle);
