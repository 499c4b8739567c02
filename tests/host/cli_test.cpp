// morvex-host's command line against the built module: what a user types,
// what it answers, and the exit status.
#include "tools/host/Cli.h"
#include "tools/host/Wav.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class CliTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    mDir = fs::temp_directory_path() /
           ("morvex-cli-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(mDir);
    fs::create_directories(mDir);
    host::AudioData audio;
    audio.sampleRate = 48000.0;
    audio.channels.assign(2, std::vector<double>(4800));
    for (size_t i = 0; i < 4800; ++i)
    {
      audio.channels[0][i] = static_cast<float>(0.25 * std::sin(0.05 * static_cast<double>(i)));
      audio.channels[1][i] = static_cast<float>(0.25 * std::cos(0.011 * static_cast<double>(i)));
    }
    std::string error;
    ASSERT_TRUE(host::WriteWavFile(path("in.wav"), audio, 32, error)) << error;
  }
  void TearDown() override { fs::remove_all(mDir); }

  std::string path(const char* name) const { return (mDir / name).string(); }

  int run(std::vector<std::string> args)
  {
    mOut.str("");
    mErr.str("");
    return host::RunCli(args, mOut, mErr, MORVEX_MODULE_PATH);
  }

  void writeFile(const char* name, const std::string& bytes)
  {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }

  fs::path mDir;
  std::ostringstream mOut, mErr;
};

}  // namespace

TEST_F(CliTest, badCommandLinesFilesNamesAndValuesExitWithTwo)
{
  writeFile("text.wav", "this is not audio at all");
  std::vector<uint8_t> wav;
  std::string error;
  ASSERT_TRUE(host::ReadFileBytes(path("in.wav"), wav, error));
  writeFile("truncated.wav", std::string(wav.begin(), wav.begin() + 200));
  writeFile("empty.state", "");

  const std::string in = path("in.wav"), out = path("out.wav");
  struct Case
  {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{}, "no command given"},
      {{"play"}, "unknown command \"play\""},
      {{"render", in, out, "--fast"}, "unknown option --fast"},
      {{"render", in}, "needs an input and an output"},
      {{"info", in}, "info takes no file names"},
      {{"render", path("missing.wav"), out}, "cannot open"},
      {{"render", path("text.wav"), out}, "not a WAV file"},
      {{"render", path("truncated.wav"), out}, "truncated WAV"},
      {{"render", in, out, "--set", "Nope=3"}, "has no parameter named \"Nope\""},
      {{"render", in, out, "--set", "Low Gain=abc"}, "malformed value \"abc\" for \"Low Gain\""},
      {{"render", in, out, "--set", "Low Gain=6dB"}, "malformed value"},
      {{"render", in, out, "--set", "Low Gain"}, "needs \"Name=value\""},
      {{"render", in, out, "--set"}, "--set needs a value"},
      {{"render", in, out, "--sweep", "Input=-6"}, "needs \"Name=from:to\""},
      {{"render", in, out, "--sweep", "Input=a:3"}, "needs \"Name=from:to\""},
      {{"render", in, out, "--sweep", "Nope=1:2"}, "has no parameter named \"Nope\""},
      {{"render", in, out, "--block", "0"}, "--block needs a whole number"},
      {{"render", in, out, "--block", "lots"}, "--block needs a whole number"},
      {{"render", in, out, "--precision", "48"}, "--precision is 32 or 64"},
      {{"response", "--csv", path("r.csv"), "--rate", "-5"}, "--rate needs a sample rate"},
      {{"response"}, "response needs --csv"},
      {{"editor", "--png", path("e.png"), "--scale", "9"}, "--scale needs a content factor"},
      {{"editor", "--png", path("e.png"), "--rescale", "fast"}, "--rescale needs a content factor"},
      {{"editor", "--png", path("e.png"), "--drag", "278,71"}, "--drag needs X,Y,DY"},
      {{"editor", "--png", path("e.png"), "--drag", "-1,71,20"}, "--drag needs X,Y,DY"},
      {{"render", in, out, "--load-state", path("missing.state")}, "cannot open"},
      {{"render", in, out, "--load-state", path("empty.state")}, "rejected the state"},
      {{"render", in, (mDir / "no" / "such" / "out.wav").string()}, "cannot create"},
      {{"--module", path("nothing.vst3"), "info"}, "no VST 3 module"},
  };
  for (const Case& c : cases)
  {
    std::string line;
    for (const auto& a : c.args)
      line += a + " ";
    EXPECT_EQ(run(c.args), host::kExitBadInput) << line;
    EXPECT_NE(mErr.str().find(c.message), std::string::npos) << line << "\n" << mErr.str();
  }
}

TEST_F(CliTest, anErrorThrownWhileRunningEndsWithStatusOneAndAMessage)
{
  // An output stream that fails and reports it by throwing.
  struct FailingBuffer : std::streambuf
  {
    int overflow(int) override { return traits_type::eof(); }
  } buffer;
  std::ostream out(&buffer);
  out.exceptions(std::ios::badbit);
  EXPECT_EQ(host::RunCli({"info"}, out, mErr, MORVEX_MODULE_PATH), host::kExitFailure);
  EXPECT_NE(mErr.str().find("morvex-host: stopped by an error"), std::string::npos) << mErr.str();
}

TEST_F(CliTest, infoListsTheClassAndEveryParameter)
{
  ASSERT_EQ(run({"info"}), host::kExitOk) << mErr.str();
  const std::string text = mOut.str();
  for (const char* expected : {"vendor: Pellicorn", "class: Morvex", "category: Audio Module Class",
                               "sub-categories: Fx|EQ", "version: 5.1.0", "parameters: 22",
                               "'prst'\tPreset", "'bpas'\tBypass", "\tLow Gain\tdB\t0.500000\t0\t",
                               "\tLowpass Filter\tHz\t1.000000\t0\t0x1 automate\t20000.00",
                               "14\tReserved\t\t0.000000\t1\t0x12 read-only|hidden\t0\n"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

TEST_F(CliTest, moduleinfoDescribesTheModuleAsItsFactoryDoes)
{
  ASSERT_EQ(run({"moduleinfo", "--output", path("moduleinfo.json")}), host::kExitOk) << mErr.str();
  EXPECT_EQ(mOut.str(), "");
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(host::ReadFileBytes(path("moduleinfo.json"), bytes, error)) << error;
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), R"({
  "Name": "Morvex",
  "Version": "5.1.0",
  "Factory Info": {
    "Vendor": "Pellicorn",
    "URL": "https://www.pellicorn.example",
    "E-Mail": "mailto:support@pellicorn.example",
    "Flags": {
      "Unicode": true,
      "Classes Discardable": false,
      "Component Non Discardable": false
    }
  },
  "Classes": [
    {
      "CID": "F2AEE70D00DE4F4E50656C634D767831",
      "Category": "Audio Module Class",
      "Name": "Morvex",
      "Vendor": "Pellicorn",
      "Version": "5.1.0",
      "SDKVersion": "VST 3.6.12",
      "Sub Categories": [
        "Fx",
        "EQ"
      ],
      "Class Flags": 2,
      "Cardinality": 2147483647,
      "Snapshots": [
        {
          "Scale Factor": 1,
          "Path": "Contents/Resources/Snapshots/F2AEE70D00DE4F4E50656C634D767831_snapshot.png"
        },
        {
          "Scale Factor": 2,
          "Path": "Contents/Resources/Snapshots/F2AEE70D00DE4F4E50656C634D767831_snapshot_2.0x.png"
        }
      ]
    }
  ]
}
)");
  // The module's version can be given; without --output the text goes to the terminal.
  ASSERT_EQ(run({"moduleinfo", "--version", "5.1.1"}), host::kExitOk) << mErr.str();
  EXPECT_NE(mOut.str().find("\"Version\": \"5.1.1\""), std::string::npos) << mOut.str();
}

TEST_F(CliTest, renderWritesFloatAudioOfTheSameLengthAndSavesTheState)
{
  ASSERT_EQ(run({"render", path("in.wav"), path("out.wav"), "--set", "Low Gain=6", "--set",
                 "Highpass Filter=80", "--save-state", path("saved.state")}),
            host::kExitOk)
      << mErr.str();
  EXPECT_NE(mOut.str().find("x real time"), std::string::npos);
  host::AudioData in, out;
  std::string error;
  ASSERT_TRUE(host::ReadWavFile(path("in.wav"), in, error));
  ASSERT_TRUE(host::ReadWavFile(path("out.wav"), out, error)) << error;
  EXPECT_EQ(out.channelCount(), 2);
  EXPECT_EQ(out.frames(), in.frames());
  EXPECT_EQ(out.sampleRate, 48000.0);
  EXPECT_NE(out.channels, in.channels);

  std::vector<uint8_t> state;
  ASSERT_TRUE(host::ReadFileBytes(path("saved.state"), state, error));
  ASSERT_EQ(state.size(), 164u);
  double lowGain = 0.0, highpass = 0.0;
  std::memcpy(&lowGain, state.data() + 8 * 8, 8);  // little-endian, as the machine
  std::memcpy(&highpass, state.data() + 6 * 8, 8);
  EXPECT_NEAR(lowGain, 6.0, 1e-9);
  EXPECT_NEAR(highpass, 80.0, 1e-9);

  // The saved state loads back and gives the same audio without any --set.
  ASSERT_EQ(run({"render", path("in.wav"), path("again.wav"), "--load-state", path("saved.state")}),
            host::kExitOk)
      << mErr.str();
  host::AudioData again;
  ASSERT_TRUE(host::ReadWavFile(path("again.wav"), again, error));
  EXPECT_EQ(again.channels, out.channels);
}

TEST_F(CliTest, aSweepMovesTheParameterFromItsFirstValueToItsLastAcrossTheFile)
{
  ASSERT_EQ(run({"render", path("in.wav"), path("out.wav"), "--sweep", "Output=-24:0", "--block",
                 "480", "--save-state", path("saved.state")}),
            host::kExitOk)
      << mErr.str();
  host::AudioData out;
  std::string error;
  ASSERT_TRUE(host::ReadWavFile(path("out.wav"), out, error)) << error;
  auto peak = [&](size_t from, size_t to) {
    double p = 0.0;
    for (size_t i = from; i < to; ++i) p = std::max(p, std::fabs(out.channels[0][i]));
    return p;
  };
  // The 10 Hz output smoother follows the lane: quiet at first, near full level at the end.
  EXPECT_LT(peak(0, 480), 0.02);
  EXPECT_GT(peak(4320, 4800), 0.2);
  std::vector<uint8_t> state;
  ASSERT_TRUE(host::ReadFileBytes(path("saved.state"), state, error));
  double output = 1.0;
  std::memcpy(&output, state.data() + 13 * 8, 8);
  EXPECT_NEAR(output, 0.0, 1e-9);
}

TEST_F(CliTest, renderSaysWhatThePluginChangedByItself)
{
  ASSERT_EQ(run({"render", path("in.wav"), path("out.wav"), "--set", "I/O Link=1", "--set",
                 "Input=6"}),
            host::kExitOk)
      << mErr.str();
  EXPECT_NE(mOut.str().find("the plug-in set \"Output\" to -6.00\n"), std::string::npos)
      << mOut.str();
  ASSERT_EQ(run({"render", path("in.wav"), path("out.wav"), "--set", "Input=6"}), host::kExitOk);
  EXPECT_EQ(mOut.str().find("the plug-in set"), std::string::npos) << mOut.str();
}

TEST_F(CliTest, sixtyFourBitPrecisionWritesDoublesThatAgreeWithFloats)
{
  // Controls are smoothed per block, so both runs use the same blocks.
  ASSERT_EQ(run({"render", path("in.wav"), path("o32.wav"), "--set", "High Gain=-8", "--block",
                 "100"}),
            0);
  ASSERT_EQ(run({"render", path("in.wav"), path("o64.wav"), "--set", "High Gain=-8", "--precision",
                 "64", "--block", "100"}),
            0)
      << mErr.str();
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(host::ReadFileBytes(path("o64.wav"), bytes, error));
  EXPECT_EQ(bytes[34], 64);  // bits per sample in the format chunk
  host::AudioData a, b;
  ASSERT_TRUE(host::ReadWavFile(path("o32.wav"), a, error));
  ASSERT_TRUE(host::ReadWavFile(path("o64.wav"), b, error));
  for (size_t c = 0; c < 2; ++c)
    for (size_t i = 0; i < a.frames(); ++i)
      ASSERT_NEAR(a.channels[c][i], b.channels[c][i], 1e-6) << c << " " << i;
}

TEST_F(CliTest, bypassPassesTheFileThroughUnchanged)
{
  ASSERT_EQ(run({"render", path("in.wav"), path("out.wav"), "--bypass", "--set", "Low Gain=12"}),
            host::kExitOk)
      << mErr.str();
  host::AudioData in, out;
  std::string error;
  ASSERT_TRUE(host::ReadWavFile(path("in.wav"), in, error));
  ASSERT_TRUE(host::ReadWavFile(path("out.wav"), out, error));
  EXPECT_EQ(out.channels, in.channels);
}

TEST_F(CliTest, aStateSavedWhileBypassedLoadsBackBypassed)
{
  ASSERT_EQ(run({"render", path("in.wav"), path("out.wav"), "--bypass", "--save-state",
                 path("bypassed.state")}),
            host::kExitOk)
      << mErr.str();
  std::vector<uint8_t> state;
  std::string error;
  ASSERT_TRUE(host::ReadFileBytes(path("bypassed.state"), state, error));
  ASSERT_EQ(state.size(), 164u);
  EXPECT_EQ(state[160], 1);  // the bypass word

  // Loading it is all it takes: the host's processing set-up does not undo it.
  ASSERT_EQ(run({"render", path("in.wav"), path("again.wav"), "--load-state",
                 path("bypassed.state")}),
            host::kExitOk)
      << mErr.str();
  host::AudioData in, again;
  ASSERT_TRUE(host::ReadWavFile(path("in.wav"), in, error));
  ASSERT_TRUE(host::ReadWavFile(path("again.wav"), again, error));
  EXPECT_EQ(again.channels, in.channels);
}

TEST_F(CliTest, responseMeasuresTheCurveAndPlotsIt)
{
  ASSERT_EQ(run({"response", "--set", "Low Gain=6", "--rate", "44100", "--csv", path("r.csv"),
                 "--png", path("r.png")}),
            host::kExitOk)
      << mErr.str();
  std::ifstream csv(path("r.csv"));
  std::string header, line;
  std::getline(csv, header);
  EXPECT_EQ(header, "frequency_hz,left_db,right_db");
  std::vector<std::vector<double>> rows;
  while (std::getline(csv, line))
  {
    double f, l, r;
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf", &f, &l, &r), 3) << line;
    rows.push_back({f, l, r});
  }
  ASSERT_GT(rows.size(), 200u);
  EXPECT_NEAR(rows.front()[0], 20.0, 1e-9);
  EXPECT_LT(rows.back()[0], 0.48 * 44100.0 + 1e-6);
  // A low boost: the bass stands well above the treble, and both channels agree.
  auto gainNear = [&](double hz) {
    for (const auto& row : rows)
      if (row[0] >= hz)
        return row[1];
    return rows.back()[1];
  };
  EXPECT_GT(gainNear(40.0) - gainNear(10000.0), 3.0);
  for (const auto& row : rows)
    ASSERT_NEAR(row[1], row[2], 0.01) << row[0];

  std::vector<uint8_t> png;
  std::string error;
  ASSERT_TRUE(host::ReadFileBytes(path("r.png"), png, error));
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
}

#ifdef _WIN32
#include "engine/Morvex.h"
#include "engine/MorvexEditor.h"
#include "raster/LICE_IBitmap.h"
#include "raster/LICE_PNG.h"

#include <memory>

TEST_F(CliTest, editorSavesWhatTheScreenShowsForTheSettingsGiven)
{
  ASSERT_EQ(run({"editor", "--png", path("low.png"), "--set", "Low Gain=-16"}), 0) << mErr.str();
  ASSERT_EQ(run({"editor", "--png", path("high.png"), "--set", "Low Gain=16"}), 0) << mErr.str();
  std::unique_ptr<LICE_IBitmap> low(LICE_ReadPNGFile(path("low.png").c_str()));
  std::unique_ptr<LICE_IBitmap> high(LICE_ReadPNGFile(path("high.png").c_str()));
  ASSERT_TRUE(low && high);
  ASSERT_EQ(low->Width(), MorvexEditor::kWidth);
  ASSERT_EQ(low->Height(), MorvexEditor::kHeight);
  // Only the "Low Gain" knob differs between the two.
  const auto& knob = MorvexEditor::kControls[14];
  ASSERT_EQ(knob.param, Morvex::kLowGain);
  int inside = 0, outside = 0;
  for (int y = 0; y < low->Height(); ++y)
    for (int x = 0; x < low->Width(); ++x)
    {
      const bool differs = low->Pixels()[y * low->RowSpan() + x] != high->Pixels()[y * high->RowSpan() + x];
      const bool inKnob = x >= knob.left && x < knob.left + knob.frameWidth && y >= knob.top &&
                          y < knob.top + knob.frameHeight;
      (inKnob ? inside : outside) += differs;
    }
  EXPECT_GT(inside, 50);
  EXPECT_EQ(outside, 0);
  EXPECT_EQ(run({"editor"}), 2);
}
#else
#include <cstdlib>

// The editor on a screen is the Linux editor tests' and the cross-target
// test's; here, what a user without an X display is told.
TEST_F(CliTest, editorWithoutAnXDisplaySaysHowToGetOne)
{
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display ? display : "";
  unsetenv("DISPLAY");
  const int status = run({"editor", "--png", path("editor.png"), "--set", "Low Gain=6"});
  if (display) setenv("DISPLAY", saved.c_str(), 1);
  EXPECT_EQ(status, 1);
  EXPECT_NE(mErr.str().find("no X display: run under xvfb-run"), std::string::npos) << mErr.str();
  EXPECT_FALSE(fs::exists(path("editor.png")));
}
#endif
