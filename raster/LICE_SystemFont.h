#pragma once
// Fonts made from the system's own font engine, for the editor's text.

class LICE_IFont;

// What a system font is made from, in the terms GDI uses.
struct LICE_FontSpec {
  int height = 0;      // in pixels
  int escapement = 0;  // tenths of a degree
  int weight = 400;    // 400 normal, 700 bold
  bool italic = false;
  int quality = 0;     // 0 default, 3 non-antialiased, 4 antialiased, 5 ClearType
  const char* face = "";
};

// A cached font that owns a new system font made from spec and prefers GDI's
// own text drawing. Null when the system font cannot be made, and always on
// platforms without GDI. The caller owns the result.
LICE_IFont* LICE_CreateSystemFont(const LICE_FontSpec& spec);
