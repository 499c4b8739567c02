#include "tools/host/Wav.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace host {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;

uint16_t get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t get32(const uint8_t* p)
{
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint64_t get64(const uint8_t* p)
{
  return static_cast<uint64_t>(get32(p)) | (static_cast<uint64_t>(get32(p + 4)) << 32);
}

void put16(std::vector<uint8_t>& out, uint16_t v)
{
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put64(std::vector<uint8_t>& out, uint64_t v)
{
  put32(out, static_cast<uint32_t>(v));
  put32(out, static_cast<uint32_t>(v >> 32));
}
void putTag(std::vector<uint8_t>& out, const char* tag)
{
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(tag[i]));
}

struct Format
{
  uint16_t code = 0;
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint16_t blockAlign = 0;
  uint16_t bits = 0;
};

bool parseFormat(const uint8_t* p, uint32_t size, Format& format, std::string& error)
{
  if (size < 16)
  {
    error = "malformed WAV: format chunk too short";
    return false;
  }
  format.code = get16(p);
  format.channels = get16(p + 2);
  format.sampleRate = get32(p + 4);
  format.blockAlign = get16(p + 12);
  format.bits = get16(p + 14);
  if (format.code == kFormatExtensible)
  {
    // The sub-format GUID's first two bytes carry the plain format code.
    if (size < 40 || get16(p + 16) < 22)
    {
      error = "malformed WAV: extensible format chunk too short";
      return false;
    }
    format.code = get16(p + 24);
  }
  return true;
}

bool checkFormat(const Format& f, std::string& error)
{
  const bool pcm = f.code == kFormatPcm && (f.bits == 16 || f.bits == 24 || f.bits == 32);
  const bool flt = f.code == kFormatFloat && (f.bits == 32 || f.bits == 64);
  if (!pcm && !flt)
  {
    error = "unsupported WAV sample format (format " + std::to_string(f.code) + ", " +
            std::to_string(f.bits) + " bits): PCM 16/24/32 or float 32/64 expected";
    return false;
  }
  if (f.channels != 1 && f.channels != 2)
  {
    error = "unsupported WAV channel count " + std::to_string(f.channels) +
            ": mono or stereo expected";
    return false;
  }
  if (f.sampleRate == 0)
  {
    error = "malformed WAV: sample rate 0";
    return false;
  }
  if (f.blockAlign != f.channels * (f.bits / 8))
  {
    error = "malformed WAV: block alignment " + std::to_string(f.blockAlign) +
            " does not match the sample format";
    return false;
  }
  return true;
}

double decodeSample(const uint8_t* p, const Format& f)
{
  if (f.code == kFormatFloat)
  {
    if (f.bits == 32)
    {
      const uint32_t bits = get32(p);
      float v;
      std::memcpy(&v, &bits, sizeof v);
      return v;
    }
    const uint64_t bits = get64(p);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  switch (f.bits)
  {
  case 16: return static_cast<int16_t>(get16(p)) / 32768.0;
  case 24:
  {
    int32_t v = static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
    if (v & 0x800000)
      v -= 0x1000000;
    return v / 8388608.0;
  }
  default: return static_cast<int32_t>(get32(p)) / 2147483648.0;
  }
}

}  // namespace

bool DecodeWav(const std::vector<uint8_t>& bytes, AudioData& audio, std::string& error)
{
  const size_t size = bytes.size();
  const uint8_t* data = bytes.data();
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
  {
    error = "not a WAV file (no RIFF/WAVE header)";
    return false;
  }

  Format format;
  bool haveFormat = false;
  size_t pos = 12;
  while (pos + 8 <= size)
  {
    const uint8_t* chunk = data + pos;
    const uint32_t chunkSize = get32(chunk + 4);
    const size_t bodyStart = pos + 8;
    const bool fits = chunkSize <= size - bodyStart;
    if (std::memcmp(chunk, "fmt ", 4) == 0)
    {
      if (!fits)
      {
        error = "truncated WAV: format chunk runs past the end of the file";
        return false;
      }
      if (!parseFormat(data + bodyStart, chunkSize, format, error) || !checkFormat(format, error))
        return false;
      haveFormat = true;
    }
    else if (std::memcmp(chunk, "data", 4) == 0)
    {
      if (!haveFormat)
      {
        error = "malformed WAV: data chunk before the format chunk";
        return false;
      }
      if (!fits)
      {
        error = "truncated WAV: the data chunk announces " + std::to_string(chunkSize) +
                " bytes but the file holds " + std::to_string(size - bodyStart);
        return false;
      }
      if (chunkSize % format.blockAlign != 0)
      {
        error = "truncated WAV: the data chunk ends inside a sample frame";
        return false;
      }
      const size_t frames = chunkSize / format.blockAlign;
      const size_t bytesPerSample = format.bits / 8;
      audio.sampleRate = format.sampleRate;
      audio.channels.assign(format.channels, std::vector<double>(frames));
      const uint8_t* p = data + bodyStart;
      for (size_t i = 0; i < frames; ++i)
        for (size_t c = 0; c < format.channels; ++c, p += bytesPerSample)
          audio.channels[c][i] = decodeSample(p, format);
      return true;
    }
    if (!fits)
    {
      error = "truncated WAV: a chunk runs past the end of the file";
      return false;
    }
    pos = bodyStart + chunkSize + (chunkSize & 1);  // chunks are padded to even sizes
  }
  error = haveFormat ? "malformed WAV: no data chunk" : "malformed WAV: no format chunk";
  return false;
}

namespace {

// What EncodeWav writes before the samples, past the RIFF size field:
// "WAVE", the 18-byte format chunk, the fact chunk and the data chunk header.
constexpr uint64_t kHeaderAfterRiffSize = 4 + (8 + 18) + (8 + 4) + 8;

}  // namespace

bool WavDataFits(size_t frames, int channels, int bits)
{
  const uint64_t bytesPerFrame = static_cast<uint64_t>(channels) * (bits == 64 ? 8u : 4u);
  const uint64_t room = 0xFFFFFFFFull - kHeaderAfterRiffSize;
  return bytesPerFrame == 0 || static_cast<uint64_t>(frames) <= room / bytesPerFrame;
}

std::vector<uint8_t> EncodeWav(const AudioData& audio, int bits)
{
  const uint16_t channels = static_cast<uint16_t>(audio.channelCount());
  const uint16_t bytesPerSample = bits == 64 ? 8 : 4;
  const size_t frames = audio.frames();
  const uint32_t dataSize = static_cast<uint32_t>(frames * channels * bytesPerSample);
  const uint32_t rate = static_cast<uint32_t>(std::lround(audio.sampleRate));

  std::vector<uint8_t> out;
  out.reserve(58 + dataSize);
  putTag(out, "RIFF");
  put32(out, static_cast<uint32_t>(kHeaderAfterRiffSize + dataSize));
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  put32(out, 18);
  put16(out, kFormatFloat);
  put16(out, channels);
  put32(out, rate);
  put32(out, rate * channels * bytesPerSample);
  put16(out, static_cast<uint16_t>(channels * bytesPerSample));
  put16(out, static_cast<uint16_t>(bytesPerSample * 8));
  put16(out, 0);  // no extension
  putTag(out, "fact");  // non-PCM files carry their frame count
  put32(out, 4);
  put32(out, static_cast<uint32_t>(frames));
  putTag(out, "data");
  put32(out, dataSize);
  for (size_t i = 0; i < frames; ++i)
    for (uint16_t c = 0; c < channels; ++c)
    {
      const double v = audio.channels[c][i];
      if (bits == 64)
      {
        uint64_t raw;
        std::memcpy(&raw, &v, sizeof raw);
        put64(out, raw);
      }
      else
      {
        const float f = static_cast<float>(v);
        uint32_t raw;
        std::memcpy(&raw, &f, sizeof raw);
        put32(out, raw);
      }
    }
  return out;
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file)
  {
    error = "cannot open " + path;
    return false;
  }
  bytes.clear();
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + n);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed)
  {
    error = "cannot read " + path;
    return false;
  }
  return true;
}

bool WriteFileBytes(const std::string& path, const void* data, size_t size, std::string& error)
{
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
  {
    error = "cannot create " + path;
    return false;
  }
  const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed)
  {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

bool ReadWavFile(const std::string& path, AudioData& audio, std::string& error)
{
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes, error))
    return false;
  if (!DecodeWav(bytes, audio, error))
  {
    error = path + ": " + error;
    return false;
  }
  return true;
}

bool WriteWavFile(const std::string& path, const AudioData& audio, int bits, std::string& error)
{
  if (!WavDataFits(audio.frames(), audio.channelCount(), bits))
  {
    error = "cannot write " + path + ": the audio is too long for a WAV file (4 GiB)";
    return false;
  }
  const std::vector<uint8_t> bytes = EncodeWav(audio, bits);
  return WriteFileBytes(path, bytes.data(), bytes.size(), error);
}

}  // namespace host
