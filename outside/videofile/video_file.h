// The VideoFile control: reads a video as frames and audio blocks, or writes an AVI file with a
// chosen video compressor and 16-bit PCM audio. One instance does one job at a time; the Convert
// Video dialog uses two, a reader and a writer, and copies the reader's values to the writer.
//
// Every operation returns a Status (success or a failure code, like a COM result) and hands its
// values back through out-parameters, which are left untouched on failure. No exception leaves
// an operation.
//
// What the values mean:
//
//   Compressors     VideoCompressorCount, SelectVideoCompressor(index from 1 to the count),
//                   VideoCompressorName: the video encoders of this FFmpeg that an AVI file can
//                   carry, sorted by name. A name is the compressor's four-character code in
//                   lower case, a blank, and a description, e.g. "mp42 MPEG-4 part 2 Microsoft
//                   variant version 2 (msmpeg4v2)". Hardware encoders are not listed.
//   OpenInputFile   opens a video for reading; `streams` becomes 1 (video only) or 2 (video and
//                   audio). Fails when the file cannot be read, has no video, or its video or
//                   audio cannot be decoded: the first video frame is decoded here.
//   VideoSetting    video bit rate in kbit/s. A reader reports its source's (0 when unknown); a
//                   writer aims its compressor at it, and encodes at a fixed high quality for 0.
//   HasAudio        1 when the input has audio, 0 when not; any non-zero value counts as true.
//                   A writer without audio writes an AVI with a video stream only.
//   AudioValue1     number of channels of the audio blocks: 1 or 2 (more are mixed to stereo).
//   AudioValue2     sample rate of the audio blocks in Hz, that of the source.
//   VideoValue1/2   width and height of the video frames in pixels, those of the source.
//   FrameRate       frames per second. The reader delivers frames at this constant rate: frames
//                   of a variable-rate source are repeated or dropped by their time stamps.
//   Lengths,        milliseconds, for both streams counted from the same origin: the start of
//   positions       the earlier of the two streams. A position is the time of the next frame or
//                   sample to be read, so it starts at 0 and ends near the length. A length is
//                   where the stream ends as the file declares it (its frame count, else its
//                   duration, else the file's), and never less than the position: progress
//                   worked out from positions and lengths stays within 100 percent.
//   ReadVideoFrame  the next frame: planar YUV 4:2:0 (I420), the Y plane of width x height bytes,
//                   then the U and the V plane of ((width+1)/2) x ((height+1)/2) bytes each, rows
//                   without padding. Empty when the video has ended.
//   ReadAudioBlock  up to `max_bytes` of interleaved signed 16-bit little-endian PCM, a whole
//                   number of sample frames; fewer only at the end. Empty when the audio has
//                   ended, and at once for an input without audio. A source whose audio starts
//                   after its video begins with silence.
//   SetAudioFormat  sample rate, channels and bits per sample (only 16) of the blocks to write.
//   SetAudioOutput  sample rate and channels of the AVI's audio; must equal the format's.
//   SetVideoFormat  width, height and frame rate of the frames to write (the I420 layout above).
//   SetVideoOutput  width, height and frame rate of the AVI's video; the rate must equal the
//                   format's, the frames are scaled to the size. An odd width or height is
//                   padded to the next even number by repeating the last column or row, because
//                   many encoders and players of 4:2:0 video need even sizes.
//   CreateOutputFile  creates the AVI; mode 1 replaces an existing file, mode 0 fails on one.
//                   Needs a selected compressor, the video format and output, and the audio
//                   format and output when HasAudio was put true.
//   WriteVideoFrame, WriteAudioBlock  take the byte arrays as ReadVideoFrame and ReadAudioBlock
//                   give them; each frame lasts 1/frame rate.
//   CloseFile       a reader stops reading; a writer finishes the file and fails when that
//                   fails. Either way the instance is free for a new job.
//
// States: a fresh instance is idle. OpenInputFile makes it a reader, CreateOutputFile a writer,
// CloseFile idle again. Reading operations fail unless reading, writing operations unless
// writing, the Set... operations and the puts unless idle.
//
// Broken inputs: a damaged stretch that the decoder can skip is skipped (the frame before it
// repeats). A read error, a stream that stops decoding altogether, or a file whose packets end
// well before the end it declares (by more than a second or 2 percent: it was cut short) fails
// the read that meets it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace videofile {

// The values of the COM results they stand for.
enum class Status : std::int32_t {
  kOk = 0,
  kFail = static_cast<std::int32_t>(0x80004005),        // the input or the output failed
  kWrongState = static_cast<std::int32_t>(0x8000FFFF),  // not allowed in this state
  kInvalidArgument = static_cast<std::int32_t>(0x80070057),
  kOutOfMemory = static_cast<std::int32_t>(0x8007000E),
};

inline bool Succeeded(Status status) {
  return static_cast<std::int32_t>(status) >= 0;
}
inline bool Failed(Status status) {
  return !Succeeded(status);
}

// The class identifier under which the factory makes the FFmpeg implementation.
inline constexpr std::string_view kVideoFileClassId = "{8A4B99CF-4AA2-4BDE-8244-F661FBD24306}";

// Strings are UTF-8; paths are passed to the file system as they are.
class IVideoFile {
 public:
  virtual ~IVideoFile() = default;

  virtual Status VideoCompressorCount(std::int32_t& count) = 0;
  virtual Status SelectVideoCompressor(std::int32_t index) = 0;
  virtual Status VideoCompressorName(std::string& name) = 0;

  virtual Status OpenInputFile(const std::string& path, std::int32_t& streams) = 0;
  virtual Status GetVideoSetting(std::int32_t& kbit_per_second) = 0;
  virtual Status PutVideoSetting(std::int32_t kbit_per_second) = 0;
  virtual Status GetHasAudio(std::int16_t& has_audio) = 0;
  virtual Status PutHasAudio(std::int16_t has_audio) = 0;
  virtual Status AudioValue1(std::int32_t& channels) = 0;
  virtual Status AudioValue2(std::int32_t& sample_rate) = 0;
  virtual Status VideoValue1(std::int32_t& width) = 0;
  virtual Status VideoValue2(std::int32_t& height) = 0;
  virtual Status FrameRate(double& frames_per_second) = 0;
  virtual Status VideoLength(std::int32_t& milliseconds) = 0;
  virtual Status AudioLength(std::int32_t& milliseconds) = 0;
  virtual Status VideoPosition(std::int32_t& milliseconds) = 0;
  virtual Status AudioPosition(std::int32_t& milliseconds) = 0;
  virtual Status ReadVideoFrame(std::vector<std::uint8_t>& frame) = 0;
  virtual Status ReadAudioBlock(std::int32_t max_bytes, std::vector<std::uint8_t>& block) = 0;

  virtual Status SetAudioFormat(std::int32_t sample_rate, std::int32_t channels,
                                std::int32_t bits_per_sample) = 0;
  virtual Status SetAudioOutput(std::int32_t sample_rate, std::int32_t channels) = 0;
  virtual Status SetVideoFormat(std::int32_t width, std::int32_t height, double frame_rate) = 0;
  virtual Status SetVideoOutput(std::int32_t width, std::int32_t height, double frame_rate) = 0;
  virtual Status CreateOutputFile(const std::string& path, std::int32_t mode) = 0;
  virtual Status WriteVideoFrame(const std::vector<std::uint8_t>& frame) = 0;
  virtual Status WriteAudioBlock(const std::vector<std::uint8_t>& block) = 0;

  virtual Status CloseFile() = 0;
};

// Makes an instance for a class identifier (letters in either case); null for any other
// identifier, as creating an unregistered control fails.
std::unique_ptr<IVideoFile> CreateVideoFile(std::string_view class_id);

// What a caller holds to make instances, so that tests can hand it scripted ones.
using VideoFileFactory = std::function<std::unique_ptr<IVideoFile>(std::string_view class_id)>;

}  // namespace videofile
