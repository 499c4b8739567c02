#pragma once

#include <cstddef>

// Copies text into a fixed-size field: at most size - 1 characters, always
// NUL-terminated. A null source gives an empty field; a zero size writes nothing.
void CopyFixedText(char* dest, std::size_t size, const char* src);

template <std::size_t N>
inline void CopyFixedText(char (&dest)[N], const char* src)
{
  CopyFixedText(dest, N, src);
}
