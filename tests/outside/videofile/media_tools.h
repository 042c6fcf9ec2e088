// Test media made and checked with the ffmpeg and ffprobe programs.
#pragma once

#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace videofile_test {

// Runs ffmpeg quietly with `arguments` (output overwritten); false when it fails.
bool RunFfmpeg(const QStringList& arguments);

struct ProbedStream {
  std::string type;  // "video" or "audio"
  std::string codec;
  std::string tag;
  int width = 0;
  int height = 0;
  std::int64_t frames = 0;   // decoded frames (video)
  std::int64_t samples = 0;  // declared sample count of PCM audio in AVI
  int sample_rate = 0;
  int channels = 0;
};

struct ProbedMedia {
  std::string format;
  double duration = 0;
  std::vector<ProbedStream> streams;

  const ProbedStream* Find(const std::string& type) const;
};

std::optional<ProbedMedia> Probe(const std::string& path);

// The pts of every packet in file order, with its stream type, for checking the interleave.
struct ProbedPacket {
  std::string type;
  double time = 0;
};
std::vector<ProbedPacket> ProbePackets(const std::string& path);

// True when ffmpeg decodes every stream of the file without a single error.
bool DecodesCleanly(const std::string& path);

}  // namespace videofile_test
