#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace host {

// Planar audio in double precision, whatever the file held.
struct AudioData
{
  double sampleRate = 48000.0;
  std::vector<std::vector<double>> channels;

  int channelCount() const { return static_cast<int>(channels.size()); }
  size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

// Decodes a RIFF/WAVE image: PCM 16, 24 or 32 bits, or IEEE float 32 or 64
// bits (plain or extensible format), one or two channels. False with a
// message for anything else, and for malformed or truncated data.
bool DecodeWav(const std::vector<uint8_t>& bytes, AudioData& audio, std::string& error);

// Encodes IEEE float samples of 32 or 64 bits.
std::vector<uint8_t> EncodeWav(const AudioData& audio, int bits);

// Whether audio of that shape fits the 32-bit sizes of the file EncodeWav writes.
bool WavDataFits(size_t frames, int channels, int bits);

bool ReadWavFile(const std::string& path, AudioData& audio, std::string& error);
bool WriteWavFile(const std::string& path, const AudioData& audio, int bits, std::string& error);

// Whole-file helpers shared by the host's commands.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);
bool WriteFileBytes(const std::string& path, const void* data, size_t size, std::string& error);

}  // namespace host
