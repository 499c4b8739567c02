#include "tools/host/ModuleInfo.h"

#include "pluginterfaces/base/funknown.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

using namespace Steinberg;

namespace host {

namespace {

std::string quoted(const std::string& text)
{
  std::string out = "\"";
  for (const char c : text)
  {
    if (c == '"' || c == '\\')
    {
      out += '\\';
      out += c;
    }
    else if (static_cast<unsigned char>(c) < 0x20)
    {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned char>(c));
      out += escape;
    }
    else
    {
      out += c;
    }
  }
  return out + "\"";
}

const char* boolean(bool value)
{
  return value ? "true" : "false";
}

// The class ID as the SDK prints it: the same text on every platform,
// whatever byte order the ID has in memory.
std::string cidText(const TUID cid)
{
  char8 text[33] = {};
  FUID::fromTUID(cid).toString(text);
  return text;
}

std::vector<std::string> splitCategories(const std::string& text)
{
  std::vector<std::string> parts;
  size_t start = 0;
  while (start < text.size())
  {
    size_t bar = text.find('|', start);
    if (bar == std::string::npos)
      bar = text.size();
    if (bar > start)
      parts.push_back(text.substr(start, bar - start));
    start = bar + 1;
  }
  return parts;
}

constexpr const char* kSnapshotFolder = "Contents/Resources/Snapshots";

// The scale a snapshot file of the class with this ID shows its editor at, or
// 0 when the file is not one of the class's snapshots.
double snapshotScale(const std::string& file, const std::string& cid)
{
  const std::string stem = cid + "_snapshot";
  if (file == stem + ".png") return 1.0;
  const std::string prefix = stem + "_";
  const std::string suffix = "x.png";
  if (file.size() <= prefix.size() + suffix.size() || file.rfind(prefix, 0) != 0 ||
      file.compare(file.size() - suffix.size(), suffix.size(), suffix) != 0)
    return 0.0;
  const std::string number =
      file.substr(prefix.size(), file.size() - prefix.size() - suffix.size());
  char* end = nullptr;
  const double scale = std::strtod(number.c_str(), &end);
  return end == number.c_str() + number.size() && scale > 0.0 ? scale : 0.0;
}

void writeSnapshots(const std::string& cid, const std::vector<std::string>& files,
                    std::string& out)
{
  std::vector<std::pair<double, std::string>> snapshots;
  for (const std::string& file : files)
    if (const double scale = snapshotScale(file, cid); scale > 0.0)
      snapshots.emplace_back(scale, file);
  std::sort(snapshots.begin(), snapshots.end());
  out += "      \"Snapshots\": [";
  for (size_t i = 0; i < snapshots.size(); ++i)
  {
    char scale[32];
    std::snprintf(scale, sizeof scale, "%g", snapshots[i].first);
    out += i ? ",\n" : "\n";
    out += "        {\n";
    out += std::string("          \"Scale Factor\": ") + scale + ",\n";
    out += "          \"Path\": " +
           quoted(std::string(kSnapshotFolder) + "/" + snapshots[i].second) + "\n";
    out += "        }";
  }
  out += snapshots.empty() ? "]\n" : "\n      ]\n";
}

void writeClass(const ClassDescription& c, const std::string& factoryVendor,
                const std::vector<std::string>& snapshotFiles, std::string& out)
{
  out += "    {\n";
  out += "      \"CID\": " + quoted(cidText(c.cid)) + ",\n";
  out += "      \"Category\": " + quoted(c.category) + ",\n";
  out += "      \"Name\": " + quoted(c.name) + ",\n";
  out += "      \"Vendor\": " + quoted(c.vendor.empty() ? factoryVendor : c.vendor) + ",\n";
  out += "      \"Version\": " + quoted(c.version) + ",\n";
  out += "      \"SDKVersion\": " + quoted(c.sdkVersion) + ",\n";
  out += "      \"Sub Categories\": [";
  const std::vector<std::string> categories = splitCategories(c.subCategories);
  for (size_t i = 0; i < categories.size(); ++i)
    out += (i ? ",\n        " : "\n        ") + quoted(categories[i]);
  out += categories.empty() ? "],\n" : "\n      ],\n";
  out += "      \"Class Flags\": " + std::to_string(c.classFlags) + ",\n";
  out += "      \"Cardinality\": " + std::to_string(c.cardinality) + ",\n";
  writeSnapshots(cidText(c.cid), snapshotFiles, out);
  out += "    }";
}

}  // namespace

std::string ModuleName(const std::string& path)
{
  std::filesystem::path p(path);
  if (!p.has_filename())
    p = p.parent_path();  // a trailing separator
  return p.stem().string();
}

std::vector<std::string> ListSnapshotFiles(const std::string& bundlePath)
{
  std::vector<std::string> files;
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::path(bundlePath) / kSnapshotFolder;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    if (entry.is_regular_file(error)) files.push_back(entry.path().filename().string());
  std::sort(files.begin(), files.end());
  return files;
}

std::string ModuleInfoJson(const ModuleDescription& module)
{
  const VendorDescription& v = module.vendor;
  std::string out = "{\n";
  out += "  \"Name\": " + quoted(module.name) + ",\n";
  out += "  \"Version\": " + quoted(module.version) + ",\n";
  out += "  \"Factory Info\": {\n";
  out += "    \"Vendor\": " + quoted(v.vendor) + ",\n";
  out += "    \"URL\": " + quoted(v.url) + ",\n";
  out += "    \"E-Mail\": " + quoted(v.email) + ",\n";
  out += "    \"Flags\": {\n";
  out += std::string("      \"Unicode\": ") + boolean(v.flags & PFactoryInfo::kUnicode) + ",\n";
  out += std::string("      \"Classes Discardable\": ") +
         boolean(v.flags & PFactoryInfo::kClassesDiscardable) + ",\n";
  out += std::string("      \"Component Non Discardable\": ") +
         boolean(v.flags & PFactoryInfo::kComponentNonDiscardable) + "\n";
  out += "    }\n";
  out += "  },\n";
  out += "  \"Classes\": [";
  for (size_t i = 0; i < module.classes.size(); ++i)
  {
    out += i ? ",\n" : "\n";
    writeClass(module.classes[i], v.vendor, module.snapshotFiles, out);
  }
  out += module.classes.empty() ? "]\n" : "\n  ]\n";
  return out + "}\n";
}

}  // namespace host
