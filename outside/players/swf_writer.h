// Writes SWF files: little-endian fields, bit-packed records and the tags our players use.
#pragma once

#include <cstdint>
#include <string>

namespace players {

// Twips: the SWF unit of length, a twentieth of a pixel.
constexpr int kTwipsPerPixel = 20;

// Little-endian fields appended to a byte string.
class ByteWriter {
 public:
  void U8(uint32_t value);
  void U16(uint32_t value);
  void U32(uint32_t value);
  // 8.8 fixed point, as the frame rate is stored.
  void Fixed8(double value);
  // Text as UTF-8 with its terminating NUL.
  void String(const std::string& text);
  void Bytes(const std::string& bytes) { bytes_ += bytes; }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// Bit fields packed from the most significant bit of each byte, as RECT and MATRIX are.
class BitWriter {
 public:
  void Unsigned(uint32_t value, int bits);
  void Signed(int32_t value, int bits);
  // The bytes so far, the last one padded with zero bits.
  std::string Finish() const;

 private:
  std::string bytes_;
  int used_bits_ = 0;  // bits used in the last byte, 0 when a new byte starts
};

// The fewest bits that hold `value` as a signed field.
int SignedBitsFor(int32_t value);

// A RECT record; all four values in twips.
std::string EncodeRect(int32_t x_min, int32_t x_max, int32_t y_min, int32_t y_max);
// A MATRIX record with only a translation, in twips.
std::string EncodeTranslation(int32_t x, int32_t y);

struct RgbColor {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

// One movie: tags are appended in order, Finish() closes it and adds the header. The files are
// written uncompressed (FWS), which every player reads.
class SwfMovie {
 public:
  SwfMovie(int version, int width_px, int height_px, double frame_rate);

  void FileAttributes(bool use_network);
  void SetBackgroundColor(RgbColor color);
  void DefineVideoStream(uint16_t id, uint16_t width_px, uint16_t height_px, bool smoothing);
  // Places `character` at `depth` with the instance name `name`, at the origin.
  void PlaceObject2(uint16_t depth, uint16_t character, const std::string& name);
  void DoAction(const std::string& actions);
  void ShowFrame();

  // The whole file; `frame_count` is the number of ShowFrame tags written.
  std::string Finish();

  // A tag as a raw record: short form up to 62 bytes, long form beyond.
  static std::string Tag(int code, const std::string& body);

 private:
  int version_;
  int width_px_;
  int height_px_;
  double frame_rate_;
  uint16_t frame_count_ = 0;
  std::string tags_;
};

// Tag codes.
enum TagCode : int {
  kTagEnd = 0,
  kTagShowFrame = 1,
  kTagSetBackgroundColor = 9,
  kTagDoAction = 12,
  kTagPlaceObject2 = 26,
  kTagDefineVideoStream = 60,
  kTagFileAttributes = 69,
};

}  // namespace players
