#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <string>
#include <vector>

namespace host {

// A factory's fixed-size text field as a string: up to the first zero, and
// never past the field, since a full field carries no terminator.
std::string FixedText(const Steinberg::char8* text, size_t capacity);

// Who made the module, as its factory says.
struct VendorDescription
{
  std::string vendor;
  std::string url;
  std::string email;
  Steinberg::int32 flags = 0;
};

// False when the factory gives no information.
bool DescribeVendor(Steinberg::IPluginFactory* factory, VendorDescription& vendor);

// The class a host instantiates, as the factory describes it.
struct ClassDescription
{
  int index = -1;
  Steinberg::TUID cid = {};
  std::string name;
  std::string category;
  std::string subCategories;
  std::string vendor;
  std::string version;
  std::string sdkVersion;
  Steinberg::uint32 classFlags = 0;
  Steinberg::int32 cardinality = 0;
};

// Reads the factory's class list (version 2 information when offered).
std::vector<ClassDescription> ListClasses(Steinberg::IPluginFactory* factory);

}  // namespace host
