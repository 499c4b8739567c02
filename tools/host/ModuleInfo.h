#pragma once

#include "tools/host/FactoryInfo.h"

#include <string>
#include <vector>

namespace host {

// What a module's moduleinfo.json says: hosts read it from the bundle's
// Contents/Resources to list the plug-ins without loading the module.
struct ModuleDescription
{
  std::string name;     // the bundle's name without ".vst3"
  std::string version;  // the module's version
  VendorDescription vendor;
  std::vector<ClassDescription> classes;
  // The file names in the bundle's Contents/Resources/Snapshots: pictures of a
  // class's editor that hosts show, "<class ID>_snapshot.png" at scale 1 and
  // "<class ID>_snapshot_<scale>x.png" at other scales.
  std::vector<std::string> snapshotFiles;
};

// The file names in a bundle's Contents/Resources/Snapshots, sorted; none for a
// module that is a single file.
std::vector<std::string> ListSnapshotFiles(const std::string& bundlePath);

// The module's name as hosts take it from its path: "Morvex" for
// ".../Morvex.vst3" or ".../Morvex.vst3/".
std::string ModuleName(const std::string& path);

// The moduleinfo.json text, field for field as the SDK's moduleinfo tool
// writes it, in plain JSON. A class without a vendor of its own carries the
// factory's, as hosts show it.
std::string ModuleInfoJson(const ModuleDescription& module);

}  // namespace host
