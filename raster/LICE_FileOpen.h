#pragma once
// Opening files named by UTF-8 paths for the decoders.

#include <cstdio>

// Opens the file for binary reading, or gives null. On Windows the path is tried
// as UTF-8 through the wide open call first and then unchanged through the narrow
// one, so both UTF-8 and ANSI names work.
std::FILE* LICE_OpenFileForReading(const char* utf8Path);
