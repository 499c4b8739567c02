#pragma once
// Resampling a rectangle of a picture to another size by area averaging: each
// destination pixel is the average of the source pixels it covers, each
// weighted by how much of it is covered. The average is taken in
// premultiplied alpha, so the colour of transparent pixels never bleeds into
// their neighbours. All arithmetic is on integers, so every platform makes
// the same pixels.

#include "raster/LICE_Composite.h"

// Resamples sourceRect of src onto destRect of dest, replacing what was
// there. False, drawing nothing, when either rectangle is empty or does not
// lie inside its bitmap.
bool LICE_ResampleArea(LICE_IBitmap* dest, const LICE_Rect& destRect, LICE_IBitmap* src,
                       const LICE_Rect& sourceRect);
