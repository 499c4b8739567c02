#pragma once
// UTF-8 as the text drawing code reads it.

// One character of text as the glyph cache sees it, from at most `available`
// bytes (negative: up to the terminating zero). Gives the number of bytes used
// (at least 1) and stores the character code.
//
// Lenient by design: a byte below 0xC2 is a character of its own (0x80-0xC1
// included); 0xC2-0xDF and 0xE0-0xEF followed by one or two bytes 0x80-0xC0 form
// two- and three-byte characters; 0xF0-0xF4 followed by three such bytes is a
// character outside the 16-bit range and stands as a space. A lead without its
// continuation bytes is one character with the lead's own value (so a lone
// Latin-1 0xE9 shows as U+00E9).
int LICE_Utf8NextGlyphChar(const char* text, int available, int* code);

// Whether the text holds a well-formed multi-byte UTF-8 lead: 0xC2-0xDF followed
// by 0x80-0xBF, or 0xE0-0xF4 (but not 0xF5-0xFF) followed by two bytes 0x80-0xBF.
// Scans `length` bytes, or up to the terminating zero when length is negative.
// Text without one is drawn as narrow text.
bool LICE_Utf8HasMultiByte(const char* text, int length);
