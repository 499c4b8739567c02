#include "tools/host/Wav.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using host::AudioData;
using host::DecodeWav;
using host::EncodeWav;
using host::WavDataFits;

namespace {

void put16(std::vector<uint8_t>& b, uint32_t v)
{
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v)
{
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
void tag(std::vector<uint8_t>& b, const char* t)
{
  for (int i = 0; i < 4; ++i)
    b.push_back(static_cast<uint8_t>(t[i]));
}

// A WAV image with a plain or extensible format chunk and the given sample bytes.
std::vector<uint8_t> wav(uint16_t format, uint16_t channels, uint16_t bits,
                         const std::vector<uint8_t>& samples, bool extensible = false,
                         uint32_t rate = 44100)
{
  std::vector<uint8_t> fmt;
  put16(fmt, extensible ? 0xFFFE : format);
  put16(fmt, channels);
  put32(fmt, rate);
  put32(fmt, rate * channels * bits / 8);
  put16(fmt, static_cast<uint16_t>(channels * bits / 8));
  put16(fmt, bits);
  if (extensible)
  {
    put16(fmt, 22);
    put16(fmt, bits);
    put32(fmt, channels == 2 ? 3 : 4);
    put16(fmt, format);  // the sub-format GUID starts with the plain code
    const uint8_t rest[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                              0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    fmt.insert(fmt.end(), rest, rest + 14);
  }
  std::vector<uint8_t> b;
  tag(b, "RIFF");
  put32(b, static_cast<uint32_t>(4 + 8 + fmt.size() + 8 + samples.size()));
  tag(b, "WAVE");
  tag(b, "fmt ");
  put32(b, static_cast<uint32_t>(fmt.size()));
  b.insert(b.end(), fmt.begin(), fmt.end());
  tag(b, "data");
  put32(b, static_cast<uint32_t>(samples.size()));
  b.insert(b.end(), samples.begin(), samples.end());
  return b;
}

std::vector<uint8_t> floatBytes(std::initializer_list<float> values)
{
  std::vector<uint8_t> out;
  for (float f : values)
  {
    uint32_t raw;
    std::memcpy(&raw, &f, 4);
    put32(out, raw);
  }
  return out;
}

std::vector<uint8_t> doubleBytes(std::initializer_list<double> values)
{
  std::vector<uint8_t> out;
  for (double d : values)
  {
    uint64_t raw;
    std::memcpy(&raw, &d, 8);
    put32(out, static_cast<uint32_t>(raw));
    put32(out, static_cast<uint32_t>(raw >> 32));
  }
  return out;
}

}  // namespace

TEST(WavDecode, everySupportedSampleFormatReadsAsScaledDoubles)
{
  struct Case
  {
    const char* what;
    std::vector<uint8_t> image;
    std::vector<double> left;
    std::vector<double> right;
  } cases[] = {
      // 16-bit: full scale is 32768.
      {"pcm16 stereo", wav(1, 2, 16, {0x00, 0x40, 0x00, 0x80, 0xFF, 0x7F, 0x01, 0x00}),
       {0.5, 32767.0 / 32768.0}, {-1.0, 1.0 / 32768.0}},
      // 24-bit: full scale is 2^23, sign in the top byte.
      {"pcm24 mono", wav(1, 1, 24, {0x00, 0x00, 0x80, 0x00, 0x00, 0x40, 0xFF, 0xFF, 0xFF}),
       {-1.0, 0.5, -1.0 / 8388608.0}, {}},
      {"pcm32 mono", wav(1, 1, 32, {0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x20}),
       {-0.5, 0.25}, {}},
      {"float32 stereo", wav(3, 2, 32, floatBytes({0.25f, -0.75f, 1.5f, 0.0f})),
       {0.25, 1.5}, {-0.75, 0.0}},
      {"float64 mono", wav(3, 1, 64, doubleBytes({0.1, -0.3})), {0.1, -0.3}, {}},
      {"extensible pcm16", wav(1, 2, 16, {0x00, 0x20, 0x00, 0xE0}, true), {0.25}, {-0.25}},
      {"extensible float32", wav(3, 1, 32, floatBytes({0.125f}), true), {0.125}, {}},
  };
  for (const Case& c : cases)
  {
    AudioData audio;
    std::string error;
    ASSERT_TRUE(DecodeWav(c.image, audio, error)) << c.what << ": " << error;
    EXPECT_EQ(audio.sampleRate, 44100.0) << c.what;
    ASSERT_EQ(audio.channelCount(), c.right.empty() ? 1 : 2) << c.what;
    EXPECT_EQ(audio.channels[0], c.left) << c.what;
    if (!c.right.empty())
    {
      EXPECT_EQ(audio.channels[1], c.right) << c.what;
    }
  }
}

TEST(WavDecode, skipsOtherChunksIncludingTheirPadByte)
{
  std::vector<uint8_t> image = wav(1, 1, 16, {0x00, 0x40});
  // Insert an odd-sized "LIST" chunk (3 bytes + pad) before "data".
  const size_t dataAt = image.size() - 2 - 8;
  const uint8_t list[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  image.insert(image.begin() + static_cast<std::ptrdiff_t>(dataAt), list, list + sizeof list);
  AudioData audio;
  std::string error;
  ASSERT_TRUE(DecodeWav(image, audio, error)) << error;
  EXPECT_EQ(audio.channels[0], std::vector<double>{0.5});
}

TEST(WavDecode, malformedTruncatedAndUnsupportedFilesAreClearErrors)
{
  std::vector<uint8_t> truncated = wav(1, 2, 16, {0, 0, 0, 0, 0, 0, 0, 0});
  truncated.resize(truncated.size() - 3);
  std::vector<uint8_t> partFrame = wav(1, 2, 16, {0, 0, 0, 0, 0, 0});
  std::vector<uint8_t> noData = wav(1, 1, 16, {});
  noData.resize(noData.size() - 8);  // drop the data chunk header
  std::vector<uint8_t> badAlign = wav(1, 2, 16, {0, 0, 0, 0});
  badAlign[32] = 3;  // block alignment 3 for 16-bit stereo
  std::vector<uint8_t> dataFirst;
  tag(dataFirst, "RIFF");
  put32(dataFirst, 12);
  tag(dataFirst, "WAVE");
  tag(dataFirst, "data");
  put32(dataFirst, 0);

  struct Case
  {
    const char* what;
    std::vector<uint8_t> image;
    const char* message;
  } cases[] = {
      {"empty", {}, "not a WAV file"},
      {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!'}, "not a WAV file"},
      {"truncated data", truncated, "truncated WAV"},
      {"half a frame", partFrame, "truncated WAV"},
      {"no data chunk", noData, "no data chunk"},
      {"data before format", dataFirst, "data chunk before the format chunk"},
      {"8-bit", wav(1, 1, 8, {0x80}), "unsupported WAV sample format"},
      {"float16", wav(3, 1, 16, {0, 0}), "unsupported WAV sample format"},
      {"mu-law", wav(7, 1, 8, {0}), "unsupported WAV sample format"},
      {"three channels", wav(1, 3, 16, {0, 0, 0, 0, 0, 0}), "mono or stereo expected"},
      {"no channels", wav(1, 0, 16, {}), "mono or stereo expected"},
      {"zero rate", wav(1, 1, 16, {0, 0}, false, 0), "sample rate 0"},
      {"bad alignment", badAlign, "block alignment"},
  };
  for (const Case& c : cases)
  {
    AudioData audio;
    std::string error;
    EXPECT_FALSE(DecodeWav(c.image, audio, error)) << c.what;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
  }
}

TEST(WavEncode, writesFloatFilesThatReadBackExactly)
{
  AudioData audio;
  audio.sampleRate = 96000.0;
  audio.channels = {{0.1, -0.5, 1.0 / 3.0}, {0.0, 0.25, -1.0}};
  for (int bits : {32, 64})
  {
    const std::vector<uint8_t> image = EncodeWav(audio, bits);
    // RIFF header, 18-byte format chunk, fact chunk, data chunk.
    EXPECT_EQ(image.size(), 12u + 26u + 12u + 8u + 6u * static_cast<size_t>(bits / 8)) << bits;
    AudioData back;
    std::string error;
    ASSERT_TRUE(DecodeWav(image, back, error)) << error;
    EXPECT_EQ(back.sampleRate, 96000.0);
    ASSERT_EQ(back.channelCount(), 2);
    for (int c = 0; c < 2; ++c)
      for (size_t i = 0; i < 3; ++i)
      {
        const double v = audio.channels[static_cast<size_t>(c)][i];
        EXPECT_EQ(back.channels[static_cast<size_t>(c)][i], bits == 64 ? v : static_cast<float>(v));
      }
  }
}

TEST(WavEncode, audioBeyondTheFormatsFourGigabytesIsRefusedNotWrapped)
{
  // The RIFF size field holds 50 header bytes plus the data: at most
  // 2^32 - 1 - 50 = 4294967245 bytes of samples.
  struct Case
  {
    size_t frames;
    int channels, bits;
    bool fits;
  } cases[] = {
      {536870905, 2, 32, true},   // 8 bytes a frame: 4294967240 bytes
      {536870906, 2, 32, false},  // 4294967248
      {268435452, 2, 64, true},   // 16 bytes a frame: 4294967232
      {268435453, 2, 64, false},  // 4294967248
      {1073741811, 1, 32, true},  // 4294967244
      {1073741812, 1, 32, false}, // 4294967248
      {0, 2, 64, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WavDataFits(c.frames, c.channels, c.bits), c.fits)
        << c.frames << " x " << c.channels << " x " << c.bits;
}
