#pragma once

#include <mutex>

// What the module records about itself when it is loaded: its handle (the
// instance handle on Windows, through which the editor reaches the module's
// pictures) and the folder of its own file.
void* ModuleHandle();
void SetModuleHandle(void* handle);
// The folder of the module's file, with its trailing separator, as UTF-16
// units; empty when unknown.
const char16_t* ModuleDirectory();
void SetModuleDirectory(const char16_t* directory);

// Serialises plug-in construction across host threads.
std::mutex& ModuleLock();
