#include "framework/FixedText.h"

void CopyFixedText(char* dest, std::size_t size, const char* src)
{
  if (!dest || size == 0) return;
  std::size_t n = 0;
  if (src)
  {
    while (n + 1 < size && src[n] != '\0')
    {
      dest[n] = src[n];
      ++n;
    }
  }
  dest[n] = '\0';
}
