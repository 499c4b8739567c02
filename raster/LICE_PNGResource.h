#pragma once
// Editor pictures stored in the module as resources of type "PNG".

#include <memory>

class LICE_MemBitmap;
class LICE_PNGRows;

// Module instance handle as an opaque type; on Windows (STRICT handles) this is
// HINSTANCE, which is also HMODULE.
struct HINSTANCE__;
typedef HINSTANCE__* LICE_HINSTANCE;

// True when the name's extension is "png" in any letter case. The extension is
// the text after the last "."; a name without any "." is judged by the text after
// its first character.
bool LICE_IsPNGResourceName(const char* fileName);

// Windows only. Decodes the "PNG" resource with the numeric identifier of the
// given module (id & 0xFFFF), read in place from the mapped module. The name
// only selects the format: anything but a png extension gives null without
// touching the resources. Null also for a missing resource, one shorter than
// 8 bytes, or data that does not decode. The caller owns the result.
LICE_MemBitmap* LICE_LoadPNGResource(LICE_HINSTANCE module, unsigned int id,
                                     const char* fileName);

// Windows only. The same resource opened to be decoded a few rows at a time
// (LICE_PNGRows), read in place; null where LICE_LoadPNGResource gives null
// or the picture cannot be read row by row.
std::unique_ptr<LICE_PNGRows> LICE_OpenPNGResourceRows(LICE_HINSTANCE module, unsigned int id,
                                                       const char* fileName);
