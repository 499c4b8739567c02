#include "tools/host/Cli.h"
#include "tools/host/FactoryInfo.h"
#include "tools/host/ModuleInfo.h"
#include "tools/host/ParameterChanges.h"
#include "tools/host/Response.h"
#include "tools/host/ResponsePlot.h"
#include "tools/host/VstModule.h"
#include "vst3/CPluginFactory.h"

#include <png.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

using namespace Steinberg;

TEST(ParseValues, numbersMustBeWholeAndFinite)
{
  struct Case
  {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"6", true, 6.0},        {" -12.5 ", true, -12.5}, {"8000", true, 8000.0},
      {"1e3", true, 1000.0},   {"", false, 0},           {"  ", false, 0},
      {"6dB", false, 0},       {"abc", false, 0},        {"nan", false, 0},
      {"inf", false, 0},       {"1e999", false, 0},      {"1,5", false, 0},
  };
  for (const Case& c : cases)
  {
    double v = -99.0;
    EXPECT_EQ(host::ParseNumber(c.text, v), c.ok) << '"' << c.text << '"';
    if (c.ok)
    {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
  long n = 0;
  EXPECT_TRUE(host::ParseInteger("512", n));
  EXPECT_EQ(n, 512);
  EXPECT_FALSE(host::ParseInteger("51.2", n));
  EXPECT_FALSE(host::ParseInteger("99999999999999999999999", n));
}

TEST(FactoryInfo, fullFieldsWithoutTerminatorsReadToTheirWidthAndNoFurther)
{
  // The SDK's constructors fill a field completely, leaving no terminator,
  // when the text is as long as the field or longer.
  const std::string vendor(80, 'v'), url(300, 'u'), email(200, 'e'), name(70, 'n');
  auto* factory = new vst3::CPluginFactory(
      PFactoryInfo(vendor.c_str(), url.c_str(), email.c_str(), PFactoryInfo::kUnicode));
  TUID cid = {1, 2, 3};
  factory->registerClass(PClassInfo2(cid, PClassInfo::kManyInstances, "Audio Module Class",
                                     name.c_str(), 0, std::string(200, 's').c_str(), nullptr,
                                     "1.0", "VST 3"),
                         [](void*) -> FUnknown* { return nullptr; });

  host::VendorDescription v;
  ASSERT_TRUE(host::DescribeVendor(factory, v));
  EXPECT_EQ(v.vendor, vendor.substr(0, PFactoryInfo::kNameSize));
  EXPECT_EQ(v.url, url.substr(0, PFactoryInfo::kURLSize));
  EXPECT_EQ(v.email, email.substr(0, PFactoryInfo::kEmailSize));
  EXPECT_EQ(v.flags, PFactoryInfo::kUnicode);

  const std::vector<host::ClassDescription> classes = host::ListClasses(factory);
  ASSERT_EQ(classes.size(), 1u);
  EXPECT_EQ(classes[0].name, name.substr(0, PClassInfo::kNameSize));
  EXPECT_EQ(classes[0].category, "Audio Module Class");
  EXPECT_EQ(classes[0].subCategories, std::string(PClassInfo2::kSubCategoriesSize, 's'));
  EXPECT_EQ(classes[0].version, "1.0");
  factory->release();

  EXPECT_FALSE(host::DescribeVendor(nullptr, v));
  EXPECT_TRUE(host::ListClasses(nullptr).empty());
}

TEST(ParameterChanges, queuesCollectPointsPerParameterAndCheckTheirIndices)
{
  host::ParameterChanges changes;
  changes.add(7, 0.1, 0);
  changes.add(3, 0.5, 10);
  changes.add(7, 0.9, 20);
  ASSERT_EQ(changes.getParameterCount(), 2);
  Vst::IParamValueQueue* first = changes.getParameterData(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->getParameterId(), 7u);
  ASSERT_EQ(first->getPointCount(), 2);
  int32 offset = 0;
  Vst::ParamValue value = 0.0;
  ASSERT_EQ(first->getPoint(1, offset, value), kResultOk);
  EXPECT_EQ(offset, 20);
  EXPECT_EQ(value, 0.9);
  EXPECT_EQ(first->getPoint(2, offset, value), kResultFalse);
  EXPECT_EQ(first->getPoint(-1, offset, value), kResultFalse);
  EXPECT_EQ(changes.getParameterData(2), nullptr);
  EXPECT_EQ(changes.getParameterData(-1), nullptr);
}

TEST(ModulePaths, aBundleFolderLeadsToTheBinaryInsideIt)
{
  const std::filesystem::path root = std::filesystem::temp_directory_path() / "morvex-bundle-test";
  std::filesystem::remove_all(root);
#if defined(_WIN32)
  const std::filesystem::path inner = root / "Thing.vst3" / "Contents" / "x86_64-win";
  const std::filesystem::path binary = inner / "Thing.vst3";
#else
  const std::filesystem::path inner = root / "Thing.vst3" / "Contents" / "x86_64-linux";
  const std::filesystem::path binary = inner / "Thing.so";
#endif
  std::filesystem::create_directories(inner);
  std::ofstream(binary) << "not really a module";
  EXPECT_EQ(host::ModuleBinaryPath((root / "Thing.vst3").string()), binary.string());
  EXPECT_EQ(host::ModuleBinaryPath(binary.string()), binary.string());

  // A file that is no module is a clear error, not a crash.
  std::string error;
  EXPECT_EQ(host::VstModule::Load((root / "Thing.vst3").string(), error), nullptr);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(host::VstModule::Load((root / "Missing.vst3").string(), error), nullptr);
  EXPECT_NE(error.find("no VST 3 module"), std::string::npos) << error;
  std::filesystem::remove_all(root);
}

TEST(ModuleInfo, eachClassListsItsOwnSnapshotsFromTheBundleByScale)
{
  const std::filesystem::path bundle =
      std::filesystem::temp_directory_path() / "morvex_snapshots_test" / "Thing.vst3";
  const std::filesystem::path folder = bundle / "Contents" / "Resources" / "Snapshots";
  std::filesystem::create_directories(folder);
  const std::string id = "F2AEE70D00DE4F4E50656C634D767831";
  for (const std::string& name :
       {id + "_snapshot_2.0x.png", id + "_snapshot.png", id + "_snapshot_1.5x.png",
        id + "_snapshot_x.png", id + "_snapshot_2.0.png",
        std::string("00000000000000000000000000000000_snapshot.png"), std::string("notes.txt")})
    std::ofstream(folder / name) << "picture";
  const std::vector<std::string> files = host::ListSnapshotFiles(bundle.string());
  EXPECT_EQ(files.size(), 7u);
  EXPECT_TRUE(std::is_sorted(files.begin(), files.end()));
  EXPECT_TRUE(host::ListSnapshotFiles((bundle / "Contents").string()).empty());

  host::ModuleDescription m;
  m.name = "Thing";
  host::ClassDescription effect;
  FUID(0xF2AEE70D, 0x00DE4F4E, 0x50656C63, 0x4D767831).toTUID(effect.cid);
  m.classes = {effect};
  m.snapshotFiles = files;
  const std::string json = host::ModuleInfoJson(m);
  const std::string path = "\"Path\": \"Contents/Resources/Snapshots/" + id;
  EXPECT_NE(json.find(R"("Snapshots": [
        {
          "Scale Factor": 1,
          )" + path + R"(_snapshot.png"
        },
        {
          "Scale Factor": 1.5,
          )" + path + R"(_snapshot_1.5x.png"
        },
        {
          "Scale Factor": 2,
          )" + path + R"(_snapshot_2.0x.png"
        }
      ]
    })"), std::string::npos) << json;
  // Another class's pictures and files that only look like snapshots stay out.
  EXPECT_EQ(json.find("_snapshot_x"), std::string::npos);
  EXPECT_EQ(json.find("_snapshot_2.0.png"), std::string::npos);
  EXPECT_EQ(json.find("0000_snapshot"), std::string::npos);
  std::filesystem::remove_all(bundle.parent_path());
}

TEST(ModuleInfo, theJsonNamesEveryFieldHostsReadAndEscapesTheTexts)
{
  EXPECT_EQ(host::ModuleName("/a/b/Thing.vst3"), "Thing");
  EXPECT_EQ(host::ModuleName("/a/b/Thing.vst3/"), "Thing");
  EXPECT_EQ(host::ModuleName("Thing.so"), "Thing");

  host::ModuleDescription m;
  m.name = "Thing";
  m.version = "1.2.3";
  m.vendor = {"Say \"Hi\"", "https://x.example", "mailto:a\\b@x.example",
              PFactoryInfo::kClassesDiscardable | PFactoryInfo::kComponentNonDiscardable};
  host::ClassDescription effect;
  // The words print the same on every platform, whatever their byte order in memory.
  FUID(0xF2AEE70D, 0x00DE4F4E, 0x50656C63, 0x4D767831).toTUID(effect.cid);
  effect.name = "Tab\there";
  effect.category = "Audio Module Class";
  effect.subCategories = "Fx|EQ|Mono";
  effect.vendor = "Own";
  effect.version = "1.2.3";
  effect.sdkVersion = "VST 3.6.12";
  effect.classFlags = 2;
  effect.cardinality = 0x7FFFFFFF;
  host::ClassDescription plain;  // version 1 information only, no vendor of its own
  plain.name = "Plain";
  plain.category = "Component Controller Class";
  m.classes = {effect, plain};

  EXPECT_EQ(host::ModuleInfoJson(m), R"({
  "Name": "Thing",
  "Version": "1.2.3",
  "Factory Info": {
    "Vendor": "Say \"Hi\"",
    "URL": "https://x.example",
    "E-Mail": "mailto:a\\b@x.example",
    "Flags": {
      "Unicode": false,
      "Classes Discardable": true,
      "Component Non Discardable": true
    }
  },
  "Classes": [
    {
      "CID": "F2AEE70D00DE4F4E50656C634D767831",
      "Category": "Audio Module Class",
      "Name": "Tab\u0009here",
      "Vendor": "Own",
      "Version": "1.2.3",
      "SDKVersion": "VST 3.6.12",
      "Sub Categories": [
        "Fx",
        "EQ",
        "Mono"
      ],
      "Class Flags": 2,
      "Cardinality": 2147483647,
      "Snapshots": []
    },
    {
      "CID": "00000000000000000000000000000000",
      "Category": "Component Controller Class",
      "Name": "Plain",
      "Vendor": "Say \"Hi\"",
      "Version": "",
      "SDKVersion": "",
      "Sub Categories": [],
      "Class Flags": 0,
      "Cardinality": 0,
      "Snapshots": []
    }
  ]
}
)");
}

TEST(Response, logFrequenciesSpanTheRangeEvenlyPerOctave)
{
  const std::vector<double> f = host::LogFrequencies(20.0, 20480.0, 3);
  ASSERT_EQ(f.size(), 31u);  // ten octaves, three steps each, both ends
  EXPECT_DOUBLE_EQ(f.front(), 20.0);
  EXPECT_NEAR(f.back(), 20480.0, 1e-9);
  EXPECT_NEAR(f[3], 40.0, 1e-9);
  EXPECT_NEAR(f[1] / f[0], std::cbrt(2.0), 1e-12);
  EXPECT_TRUE(host::LogFrequencies(0.0, 100.0, 3).empty());
  EXPECT_TRUE(host::LogFrequencies(100.0, 10.0, 3).empty());
}

TEST(Response, theTransformOfASinusoidIsHalfItsEnergyAtItsFrequency)
{
  // A whole number of cycles: |X(f0)| = A N / 2, and ~0 at other bin centres.
  const double rate = 48000.0, f0 = 1500.0, a = 0.8;
  const size_t n = 4800;
  std::vector<double> x(n);
  for (size_t i = 0; i < n; ++i)
    x[i] = a * std::cos(2.0 * 3.14159265358979323846 * f0 * static_cast<double>(i) / rate + 0.3);
  EXPECT_NEAR(host::DtftMagnitude(x, f0, rate), a * n / 2.0, 1e-6 * n);
  EXPECT_NEAR(host::DtftMagnitude(x, 3000.0, rate), 0.0, 1e-6 * n);
  // A unit impulse has a flat transform of one.
  std::vector<double> impulse(64, 0.0);
  impulse[0] = 1.0;
  for (double f : {10.0, 1000.0, 20000.0})
    EXPECT_NEAR(host::DtftMagnitude(impulse, f, rate), 1.0, 1e-12) << f;
}

TEST(Response, csvHasAHeaderAndOneRowPerFrequency)
{
  host::ResponseCurve curve;
  curve.frequencies = {20.0, 1000.0};
  curve.gainDb = {{0.0, 6.0206}, {-3.0, 0.5}};
  EXPECT_EQ(host::ResponseCsv(curve),
            "frequency_hz,left_db,right_db\n20.000,0.0000,-3.0000\n1000.000,6.0206,0.5000\n");
  curve.gainDb.resize(1);
  EXPECT_EQ(host::ResponseCsv(curve), "frequency_hz,channel1_db\n20.000,0.0000\n1000.000,6.0206\n");
}

TEST(ResponsePlot, thePlotIsAPngOfThePictureThatReadsBack)
{
  host::ResponseCurve curve;
  curve.frequencies = host::LogFrequencies(20.0, 20000.0, 12);
  curve.gainDb.assign(2, std::vector<double>(curve.frequencies.size(), 0.0));
  const host::RgbImage picture = host::PlotResponse(curve, 400, 200);
  ASSERT_EQ(picture.width, 400);
  ASSERT_EQ(picture.height, 200);
  std::vector<uint8_t> png;
  std::string error;
  ASSERT_TRUE(host::EncodePng(picture, png, error)) << error;

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size()));
  image.format = PNG_FORMAT_RGB;
  EXPECT_EQ(image.width, 400u);
  EXPECT_EQ(image.height, 200u);
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
  for (size_t i = 0; i < picture.pixels.size(); i += 97)
  {
    const uint32_t p = picture.pixels[i];
    ASSERT_EQ(rgb[3 * i], static_cast<uint8_t>(p >> 16)) << i;
    ASSERT_EQ(rgb[3 * i + 1], static_cast<uint8_t>(p >> 8)) << i;
    ASSERT_EQ(rgb[3 * i + 2], static_cast<uint8_t>(p)) << i;
  }
  // A flat 0 dB curve crosses the middle of the plot in the first channel's blue.
  bool blue = false;
  for (uint32_t p : picture.pixels)
    blue = blue || p == 0x1F5FBF;
  EXPECT_TRUE(blue);

  host::RgbImage empty;
  EXPECT_FALSE(host::EncodePng(empty, png, error));
}
