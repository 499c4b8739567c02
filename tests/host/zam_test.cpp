// The host is generic: an independent plug-in from Debian's zam-plugins
// renders through exactly the same code.
#include "tools/host/Cli.h"
#include "tools/host/PluginInstance.h"
#include "tools/host/Render.h"
#include "tools/host/Response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

constexpr const char* kZamEq2 = "/usr/lib/vst3/ZamEQ2.vst3";

class ZamEq2Test : public ::testing::Test
{
protected:
  void SetUp() override
  {
    if (!std::filesystem::exists(kZamEq2))
      GTEST_SKIP() << kZamEq2 << " is not installed (Debian package zam-plugins)";
    std::string error;
    mModule = host::VstModule::Load(kZamEq2, error);
    ASSERT_NE(mModule, nullptr) << error;
    mPlugin = host::PluginInstance::Create(*mModule, mHost, error);
    ASSERT_NE(mPlugin, nullptr) << error;
  }
  void TearDown() override
  {
    mPlugin.reset();
    mModule.reset();
  }

  host::HostApplication mHost;
  std::unique_ptr<host::VstModule> mModule;
  std::unique_ptr<host::PluginInstance> mPlugin;
};

}  // namespace

TEST_F(ZamEq2Test, loadsAsAMonoEqualiserWithItsOwnParameters)
{
  EXPECT_EQ(mPlugin->description().name, "ZamEQ2");
  EXPECT_NE(mPlugin->description().subCategories.find("EQ"), std::string::npos);
  EXPECT_EQ(mPlugin->mainChannels(Steinberg::Vst::kInput), 1);
  Steinberg::Vst::ParamID id = 0;
  EXPECT_TRUE(mPlugin->findParameter("Boost/Cut 1", id));
  EXPECT_FALSE(mPlugin->findParameter("Low Gain", id));
}

TEST_F(ZamEq2Test, aBoostSetByTitleShowsInTheMeasuredResponse)
{
  Steinberg::Vst::ParamID gain = 0, frequency = 0;
  ASSERT_TRUE(mPlugin->findParameter("Boost/Cut 1", gain));
  ASSERT_TRUE(mPlugin->findParameter("Frequency 1", frequency));
  host::ResponseOptions options;
  options.settings = {{gain, mPlugin->controller()->plainParamToNormalized(gain, 6.0)},
                      {frequency, mPlugin->controller()->plainParamToNormalized(frequency, 1000.0)}};
  host::ResponseCurve curve;
  std::string error;
  ASSERT_TRUE(host::MeasureResponse(*mPlugin, options, curve, error)) << error;
  ASSERT_EQ(curve.gainDb.size(), 1u);
  double peak = -100.0, peakHz = 0.0;
  for (size_t i = 0; i < curve.frequencies.size(); ++i)
    if (curve.gainDb[0][i] > peak)
      peak = curve.gainDb[0][i], peakHz = curve.frequencies[i];
  EXPECT_NEAR(peak, 6.0, 0.5);
  EXPECT_NEAR(std::log2(peakHz / 1000.0), 0.0, 0.1);
  EXPECT_NEAR(curve.gainDb[0].front(), 0.0, 0.2);  // far from the band
}

TEST_F(ZamEq2Test, rendersMonoAudioAndRefusesStereo)
{
  host::AudioData in;
  in.sampleRate = 44100.0;
  in.channels.assign(1, std::vector<double>(20000));
  for (size_t i = 0; i < 20000; ++i)
    in.channels[0][i] = 0.3 * std::sin(0.07 * static_cast<double>(i));
  host::AudioData out;
  std::string error;
  ASSERT_TRUE(host::Render(*mPlugin, in, out, {}, error)) << error;
  ASSERT_EQ(out.frames(), in.frames());
  double energy = 0.0;
  for (double v : out.channels[0])
    energy += v * v;
  EXPECT_GT(energy, 0.0);

  in.channels.push_back(in.channels[0]);
  EXPECT_FALSE(host::Render(*mPlugin, in, out, {}, error));
  EXPECT_NE(error.find("does not process stereo audio"), std::string::npos) << error;
}
