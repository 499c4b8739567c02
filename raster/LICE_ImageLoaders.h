#pragma once
// The module-wide registry of picture loaders, for file dialogs and loading by
// name. The editor itself decodes only from resources and never walks it.

class LICE_IBitmap;

struct ImageLoaderEntry {
  // (UTF-8 path, check-extension flag, destination or null) -> bitmap or null;
  // the caller owns a bitmap the loader made.
  LICE_IBitmap* (*load)(const char* utf8Path, bool checkExtension, LICE_IBitmap* destination);
  // Win32 common-dialog filter: pairs of zero-terminated texts, ended by a second zero.
  const char* (*filterText)();
  ImageLoaderEntry* next;
};

// Head of the registry. It holds the PNG loader from static initialisation on.
extern ImageLoaderEntry* ImageLoaderList;

// Prepends an entry; the entry must outlive its use. Call during initialisation only.
void LICE_AddImageLoader(ImageLoaderEntry* entry);
