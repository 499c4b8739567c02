#include "platform/win/WinDesktop.h"

#include <cwchar>

namespace {

// UTF-16 text of a given length as UTF-8.
bool Utf8Of(const wchar_t* wide, int units, std::string& text)
{
  if (units == 0) return true;
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  text.resize(static_cast<std::size_t>(bytes));
  return WideCharToMultiByte(CP_UTF8, 0, wide, units, &text[0], bytes, nullptr, nullptr) == bytes;
}

// The text of a clipboard block. It is read only as far as the block reaches,
// even when the text in it lacks its terminator.
bool TextOfBlock(HANDLE block, std::string& text)
{
  const auto* wide = static_cast<const wchar_t*>(GlobalLock(block));
  if (!wide) return false;
  const std::size_t length = wcsnlen(wide, GlobalSize(block) / sizeof(wchar_t));
  const bool read = Utf8Of(wide, static_cast<int>(length), text);
  GlobalUnlock(block);
  return read;
}

}  // namespace

bool WinReadClipboardText(std::string& text)
{
  text.clear();
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(nullptr)) return false;
  HANDLE block = GetClipboardData(CF_UNICODETEXT);
  const bool read = block && TextOfBlock(block, text);
  CloseClipboard();
  if (!read) text.clear();
  return read;
}
