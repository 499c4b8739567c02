#pragma once
// PNG pictures decoded with libpng into 32-bit bitmaps.
//
// Every colour type and bit depth comes out as LICE_Color32 pixels with straight
// alpha: palettes and grey are expanded to RGB, tRNS becomes alpha, 16-bit
// samples keep their high byte, and images without alpha get 255. No gamma or
// colour-space handling is applied. Failures give null and report nothing.

class LICE_IBitmap;
class LICE_MemBitmap;

// Decodes a complete PNG held in memory. The data is read in place and must stay
// valid for the call. Null for fewer than 8 bytes, a wrong signature, any libpng
// error or a picture that cannot be allocated. The caller owns the result.
LICE_MemBitmap* LICE_ReadPNGMemory(const void* data, int length);

// Decodes a PNG file named by a UTF-8 path. With a destination, that bitmap is
// resized and filled and returned (it may be left resized and partly written on
// failure, and is never deleted here); without one a new LICE_MemBitmap is
// returned, owned by the caller. Null on any failure.
LICE_IBitmap* LICE_ReadPNGFile(const char* utf8Path, LICE_IBitmap* destination = nullptr);

// As LICE_ReadPNGFile; with checkExtension the path must end in ".png" in any
// letter case, else the result is null without opening anything.
LICE_IBitmap* LICE_ReadPNGByName(const char* utf8Path, bool checkExtension,
                                 LICE_IBitmap* destination = nullptr);

// True when the path ends in ".png" in any letter case.
bool LICE_HasPNGExtension(const char* utf8Path);
