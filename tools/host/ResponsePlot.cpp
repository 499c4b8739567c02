#include "tools/host/ResponsePlot.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>

namespace host {

namespace {

constexpr uint32_t kBackground = 0xFFFFFF;
constexpr uint32_t kMinorGrid = 0xE4E4E4;
constexpr uint32_t kMajorGrid = 0xB8B8B8;
constexpr uint32_t kAxis = 0x505050;
constexpr uint32_t kText = 0x303030;
constexpr uint32_t kCurveColours[] = {0x1F5FBF, 0xD04020};

constexpr int kLeft = 52, kRight = 20, kTop = 24, kBottom = 40;
constexpr double kLowHz = 20.0, kHighHz = 20000.0;

// 5 x 7 glyphs, one byte per row, bit 4 leftmost.
struct Glyph
{
  char c;
  uint8_t rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'k', {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12}}, {'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'z', {0x00, 0x00, 0x1F, 0x02, 0x04, 0x08, 0x1F}}, {'d', {0x01, 0x01, 0x0D, 0x13, 0x11, 0x11, 0x0F}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
};

class Canvas
{
public:
  explicit Canvas(RgbImage& image) : mImage(image) {}

  void set(int x, int y, uint32_t colour)
  {
    if (x >= 0 && y >= 0 && x < mImage.width && y < mImage.height)
      mImage.pixels[static_cast<size_t>(y) * static_cast<size_t>(mImage.width) + static_cast<size_t>(x)] =
          colour;
  }
  void fill(int x0, int y0, int x1, int y1, uint32_t colour)
  {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        set(x, y, colour);
  }
  void hline(int x0, int x1, int y, uint32_t colour) { fill(x0, y, x1 + 1, y + 1, colour); }
  void vline(int x, int y0, int y1, uint32_t colour) { fill(x, y0, x + 1, y1 + 1, colour); }

  // A line of the given width, stepping one pixel along its longer axis.
  void line(double x0, double y0, double x1, double y1, int width, uint32_t colour)
  {
    const int steps = static_cast<int>(std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))));
    const int lo = -(width - 1) / 2, hi = width / 2;
    for (int i = 0; i <= std::max(steps, 1); ++i)
    {
      const double t = steps > 0 ? static_cast<double>(i) / steps : 0.0;
      const int x = static_cast<int>(std::lround(x0 + (x1 - x0) * t));
      const int y = static_cast<int>(std::lround(y0 + (y1 - y0) * t));
      fill(x + lo, y + lo, x + hi + 1, y + hi + 1, colour);
    }
  }

  // Text in the 5 x 7 font, one pixel between glyphs; returns its width.
  static int textWidth(const std::string& text) { return static_cast<int>(text.size()) * 6 - 1; }
  void text(int x, int y, const std::string& text, uint32_t colour)
  {
    for (char c : text)
    {
      for (const Glyph& g : kGlyphs)
        if (g.c == c)
          for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
              if (g.rows[row] & (0x10 >> col))
                set(x + col, y + row, colour);
      x += 6;
    }
  }

private:
  RgbImage& mImage;
};

std::string frequencyLabel(double hz)
{
  return hz >= 1000.0 ? std::to_string(static_cast<int>(hz / 1000.0)) + "k"
                      : std::to_string(static_cast<int>(hz));
}

std::string gainLabel(int db)
{
  return db > 0 ? "+" + std::to_string(db) : std::to_string(db);
}

}  // namespace

RgbImage PlotResponse(const ResponseCurve& curve, int width, int height)
{
  RgbImage image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), kBackground);
  Canvas canvas(image);

  // The range shows every curve in whole 6 dB steps, at least -12..+12, at most -60..+36.
  double lowest = 0.0, highest = 0.0;
  for (const auto& gains : curve.gainDb)
    for (double g : gains)
      if (std::isfinite(g))
      {
        lowest = std::min(lowest, g);
        highest = std::max(highest, g);
      }
  const int dbLow = std::max(-60, std::min(-12, static_cast<int>(std::floor(lowest / 6.0)) * 6));
  const int dbHigh = std::min(36, std::max(12, static_cast<int>(std::ceil(highest / 6.0)) * 6));

  const int plotW = width - kLeft - kRight, plotH = height - kTop - kBottom;
  auto xOf = [&](double hz) {
    return kLeft + plotW * std::log(hz / kLowHz) / std::log(kHighHz / kLowHz);
  };
  auto yOf = [&](double db) {
    return kTop + plotH * (dbHigh - db) / static_cast<double>(dbHigh - dbLow);
  };

  // Frequency grid: 1-9 of each decade, the decades and the labelled ones darker.
  for (double decade = 10.0; decade <= 10000.0; decade *= 10.0)
    for (int m = 1; m <= 9; ++m)
    {
      const double hz = decade * m;
      if (hz < kLowHz || hz > kHighHz)
        continue;
      const int x = static_cast<int>(std::lround(xOf(hz)));
      const bool labelled = m == 1 || m == 2 || m == 5;
      canvas.vline(x, kTop, kTop + plotH, labelled ? kMajorGrid : kMinorGrid);
      if (labelled)
      {
        const std::string label = frequencyLabel(hz);
        canvas.text(x - Canvas::textWidth(label) / 2, kTop + plotH + 6, label, kText);
      }
    }
  // Gain grid every 6 dB, 0 dB as an axis.
  for (int db = dbLow; db <= dbHigh; db += 6)
  {
    const int y = static_cast<int>(std::lround(yOf(db)));
    canvas.hline(kLeft, kLeft + plotW, y, db == 0 ? kAxis : kMajorGrid);
    const std::string label = gainLabel(db);
    canvas.text(kLeft - 6 - Canvas::textWidth(label), y - 3, label, kText);
  }
  canvas.text(kLeft + plotW - Canvas::textWidth("Hz"), kTop + plotH + 20, "Hz", kText);
  canvas.text(kLeft - 6 - Canvas::textWidth("dB"), kTop - 14, "dB", kText);
  canvas.hline(kLeft, kLeft + plotW, kTop + plotH, kAxis);
  canvas.vline(kLeft, kTop, kTop + plotH, kAxis);

  // Curves, clipped to the plot area by clamping their gains.
  for (size_t c = 0; c < curve.gainDb.size() && c < 2; ++c)
  {
    const auto& gains = curve.gainDb[c];
    const int lineWidth = c == 0 ? 3 : 1;
    for (size_t i = 1; i < curve.frequencies.size() && i < gains.size(); ++i)
    {
      const double f0 = curve.frequencies[i - 1], f1 = curve.frequencies[i];
      if (f0 < kLowHz || f1 > kHighHz)
        continue;
      auto clampDb = [&](double g) {
        return std::isfinite(g) ? std::clamp(g, static_cast<double>(dbLow), static_cast<double>(dbHigh))
                                : static_cast<double>(dbLow);
      };
      canvas.line(xOf(f0), yOf(clampDb(gains[i - 1])), xOf(f1), yOf(clampDb(gains[i])), lineWidth,
                  kCurveColours[c]);
    }
    if (curve.gainDb.size() == 2)
    {
      const int x = kLeft + plotW - 40 + static_cast<int>(c) * 22;
      canvas.fill(x, 8, x + 8, 15, kCurveColours[c]);
      canvas.text(x + 10, 8, c == 0 ? "L" : "R", kText);
    }
  }
  return image;
}

namespace {

void writeToVector(png_structp png, png_bytep data, png_size_t length)
{
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

}  // namespace

bool EncodePng(const RgbImage& image, std::vector<uint8_t>& out, std::string& error)
{
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height))
  {
    error = "empty picture";
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info)
  {
    png_destroy_write_struct(&png, nullptr);
    error = "out of memory for the PNG encoder";
    return false;
  }
  std::vector<uint8_t> row(static_cast<size_t>(image.width) * 3);
  out.clear();
  if (setjmp(png_jmpbuf(png)))
  {
    png_destroy_write_struct(&png, &info);
    error = "PNG encoding failed";
    return false;
  }
  png_set_write_fn(png, &out, writeToVector, flushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height),
               8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y)
  {
    const uint32_t* src = &image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width)];
    for (int x = 0; x < image.width; ++x)
    {
      row[static_cast<size_t>(x) * 3 + 0] = static_cast<uint8_t>(src[x] >> 16);
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<uint8_t>(src[x] >> 8);
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<uint8_t>(src[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace host
