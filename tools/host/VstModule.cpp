#include "tools/host/VstModule.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace host {

namespace {

#if defined(_WIN32)
constexpr const char* kArchitecture = "x86_64-win";
constexpr const char* kBinaryExtension = ".vst3";
#else
constexpr const char* kArchitecture = "x86_64-linux";
constexpr const char* kBinaryExtension = ".so";
#endif

}  // namespace

std::string ModuleBinaryPath(const std::string& path)
{
  std::error_code ec;
  const fs::path given(path);
  if (!fs::is_directory(given, ec))
    return path;
  fs::path folder = given;
  if (!folder.has_filename())
    folder = folder.parent_path();  // a trailing separator
  const fs::path binary =
      folder / "Contents" / kArchitecture / (folder.stem().string() + kBinaryExtension);
  return binary.string();
}

std::unique_ptr<VstModule> VstModule::Load(const std::string& path, std::string& error)
{
  std::unique_ptr<VstModule> module(new VstModule);
  module->mBinaryPath = ModuleBinaryPath(path);
  std::error_code ec;
  if (!fs::is_regular_file(module->mBinaryPath, ec))
  {
    error = "no VST 3 module at " + path;
    return nullptr;
  }
  if (!module->open(error))
    return nullptr;
  module->mFactory = module->callGetPluginFactory();
  if (!module->mFactory)
  {
    error = "the module at " + path + " gives no plug-in factory";
    return nullptr;
  }
  void* factory3 = nullptr;
  if (module->mFactory->queryInterface(Steinberg::IPluginFactory3::iid, &factory3) ==
          Steinberg::kResultOk &&
      factory3)
  {
    static_cast<Steinberg::IPluginFactory3*>(factory3)->setHostContext(&module->mFactoryContext);
    static_cast<Steinberg::IPluginFactory3*>(factory3)->release();
  }
  return module;
}

VstModule::~VstModule()
{
  if (mFactory)
    mFactory->release();
  mFactory = nullptr;
  close();
}

Steinberg::IPluginFactory* VstModule::callGetPluginFactory() const
{
  auto getFactory = reinterpret_cast<GetFactoryProc>(symbol("GetPluginFactory"));
  return getFactory ? getFactory() : nullptr;
}

}  // namespace host
