#pragma once

#include "tools/host/HostApplication.h"

#include "pluginterfaces/base/ipluginbase.h"

#include <memory>
#include <string>

namespace host {

// The binary a host loads for a module path: a bundle folder "Name.vst3"
// holds it at Contents/<architecture>/Name.so (Linux) or Name.vst3 (Windows);
// any other path is taken as the binary itself.
std::string ModuleBinaryPath(const std::string& path);

// A loaded VST 3 module, the way a host holds one: the binary is loaded, its
// entry function called, and its factory taken and given the host context.
// Destruction releases the factory, calls the exit function and unloads the
// binary; every plug-in instance made from it must be gone by then.
class VstModule
{
public:
  // Null, with a message in error, when the module cannot be loaded.
  static std::unique_ptr<VstModule> Load(const std::string& path, std::string& error);

  ~VstModule();
  VstModule(const VstModule&) = delete;
  VstModule& operator=(const VstModule&) = delete;

  Steinberg::IPluginFactory* factory() const { return mFactory; }
  const std::string& binaryPath() const { return mBinaryPath; }

  // The module's GetPluginFactory, for callers that check its reference
  // counting; each call hands out a reference of its own.
  Steinberg::IPluginFactory* callGetPluginFactory() const;

private:
  VstModule() = default;

  // Platform parts: load the binary and run its entry function, or undo both.
  bool open(std::string& error);
  void close();
  void* symbol(const char* name) const;

  // The factory's host context lives exactly as long as the factory may use it.
  HostApplication mFactoryContext;
  std::string mBinaryPath;
  void* mHandle = nullptr;
  bool mEntered = false;
  Steinberg::IPluginFactory* mFactory = nullptr;
};

}  // namespace host
