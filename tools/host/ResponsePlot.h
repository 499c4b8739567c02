#pragma once

#include "tools/host/Response.h"

#include <cstdint>
#include <string>
#include <vector>

namespace host {

// An RGB picture, 0xRRGGBB per pixel, rows top to bottom.
struct RgbImage
{
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

// Draws the curves on a log-frequency, dB grid with labelled axes: the first
// channel as a wide blue line, the second as a narrow red one over it.
RgbImage PlotResponse(const ResponseCurve& curve, int width = 900, int height = 420);

// PNG image of 8-bit RGB; false with a message when encoding fails.
bool EncodePng(const RgbImage& image, std::vector<uint8_t>& png, std::string& error);

}  // namespace host
