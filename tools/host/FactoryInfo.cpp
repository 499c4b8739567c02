#include "tools/host/FactoryInfo.h"

#include <cstring>

using namespace Steinberg;

namespace host {

std::string FixedText(const char8* text, size_t capacity)
{
  size_t n = 0;
  while (n < capacity && text[n])
    ++n;
  return std::string(text, n);
}

bool DescribeVendor(IPluginFactory* factory, VendorDescription& vendor)
{
  PFactoryInfo info;
  if (!factory || factory->getFactoryInfo(&info) != kResultOk)
    return false;
  vendor.vendor = FixedText(info.vendor, PFactoryInfo::kNameSize);
  vendor.url = FixedText(info.url, PFactoryInfo::kURLSize);
  vendor.email = FixedText(info.email, PFactoryInfo::kEmailSize);
  vendor.flags = info.flags;
  return true;
}

namespace {

IPluginFactory2* factory2Of(IPluginFactory* factory)
{
  void* obj = nullptr;
  if (factory->queryInterface(IPluginFactory2::iid, &obj) != kResultOk)
    return nullptr;
  return static_cast<IPluginFactory2*>(obj);
}

bool describeClass(IPluginFactory* factory, IPluginFactory2* factory2, int32 index,
                   ClassDescription& c)
{
  c.index = index;
  PClassInfo2 info2;
  PClassInfo info;
  if (factory2 && factory2->getClassInfo2(index, &info2) == kResultOk)
  {
    std::memcpy(c.cid, info2.cid, sizeof(TUID));
    c.name = FixedText(info2.name, PClassInfo::kNameSize);
    c.category = FixedText(info2.category, PClassInfo::kCategorySize);
    c.subCategories = FixedText(info2.subCategories, PClassInfo2::kSubCategoriesSize);
    c.vendor = FixedText(info2.vendor, PClassInfo2::kVendorSize);
    c.version = FixedText(info2.version, PClassInfo2::kVersionSize);
    c.sdkVersion = FixedText(info2.sdkVersion, PClassInfo2::kVersionSize);
    c.classFlags = info2.classFlags;
    c.cardinality = info2.cardinality;
    return true;
  }
  if (factory->getClassInfo(index, &info) == kResultOk)
  {
    std::memcpy(c.cid, info.cid, sizeof(TUID));
    c.name = FixedText(info.name, PClassInfo::kNameSize);
    c.category = FixedText(info.category, PClassInfo::kCategorySize);
    c.cardinality = info.cardinality;
    return true;
  }
  return false;
}

}  // namespace

std::vector<ClassDescription> ListClasses(IPluginFactory* factory)
{
  std::vector<ClassDescription> classes;
  if (!factory)
    return classes;
  IPluginFactory2* factory2 = factory2Of(factory);
  const int32 count = factory->countClasses();
  for (int32 i = 0; i < count; ++i)
  {
    ClassDescription c;
    if (describeClass(factory, factory2, i, c))
      classes.push_back(c);
  }
  if (factory2)
    factory2->release();
  return classes;
}

}  // namespace host
