#pragma once

// The editor's pictures, built into the module at build time from the same
// PNG files and numbers as the Windows resources.
struct ModulePicture
{
  int id;
  const unsigned char* data;
  int size;
};

// The picture with this resource number, or null.
const ModulePicture* FindModulePicture(int id);
