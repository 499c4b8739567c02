#include "vst3/HostText.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

void WidenToString128(const char* text, String128 out)
{
  int i = 0;
  for (; text && text[i] && i < 127; ++i)
    out[i] = static_cast<TChar>(static_cast<unsigned char>(text[i]));
  out[i] = 0;
}

void NarrowFromHost(const TChar* text, char* out, int size)
{
  if (!out || size <= 0)
    return;
  int i = 0;
  for (; text && text[i] && i < size - 1; ++i)
  {
    const auto unit = static_cast<char16_t>(text[i]);
    out[i] = unit <= 0xFF ? static_cast<char>(unit) : '?';
  }
  out[i] = 0;
}
