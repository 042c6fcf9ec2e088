// The picture-header readers: standard and custom sizes, cropping, and headers too short or
// not what they claim to be.
#include "outside/metastamp/picture_size.h"

#include <gtest/gtest.h>

#include "flv_bytes.h"

using metastamp::FrameSize;
using metastamp_test::BitWriter;
using metastamp_test::Bytes;

namespace {

std::optional<FrameSize> H263(uint32_t size_code, uint32_t width = 0, uint32_t height = 0,
                              uint32_t start_code = 1, uint32_t version = 0) {
  BitWriter bits;
  bits.Bits(start_code, 17).Bits(version, 5).Bits(0x5A, 8).Bits(size_code, 3);
  if (size_code == 0) bits.Bits(width, 8).Bits(height, 8);
  if (size_code == 1) bits.Bits(width, 16).Bits(height, 16);
  bits.Bits(0, 8);  // picture type, deblocking, quantizer
  return metastamp::SorensonH263PictureSize(bits.Take());
}

TEST(SorensonH263, ReadsStandardAndCustomSizes) {
  EXPECT_EQ(H263(2), (FrameSize{352, 288}));
  EXPECT_EQ(H263(3), (FrameSize{176, 144}));
  EXPECT_EQ(H263(4), (FrameSize{128, 96}));
  EXPECT_EQ(H263(5), (FrameSize{320, 240}));
  EXPECT_EQ(H263(6), (FrameSize{160, 120}));
  EXPECT_EQ(H263(0, 101, 75), (FrameSize{101, 75}));
  EXPECT_EQ(H263(1, 1280, 720), (FrameSize{1280, 720}));
  EXPECT_EQ(H263(5, 0, 0, 1, 1), (FrameSize{320, 240}));  // version 1
}

TEST(SorensonH263, RejectsWhatIsNoPictureHeader) {
  EXPECT_FALSE(H263(7));              // reserved size code
  EXPECT_FALSE(H263(0, 0, 75));       // empty custom width
  EXPECT_FALSE(H263(5, 0, 0, 3));     // wrong start code
  EXPECT_FALSE(H263(5, 0, 0, 1, 2));  // no such version
  EXPECT_FALSE(metastamp::SorensonH263PictureSize(Bytes{0x00, 0x00, 0x84, 0x00}));  // cut
}

TEST(ScreenVideo, ReadsTheImageSizeAfterTheBlockSize) {
  EXPECT_EQ(metastamp::ScreenVideoPictureSize(Bytes{0x30, 0x64, 0x30, 0x4B, 0xFF}),
            (FrameSize{100, 75}));
  EXPECT_EQ(metastamp::ScreenVideoPictureSize(Bytes{0x1F, 0xFF, 0x10, 0x01}), (FrameSize{4095, 1}));
  EXPECT_FALSE(metastamp::ScreenVideoPictureSize(Bytes{0x30, 0x64, 0x30}));
  EXPECT_FALSE(metastamp::ScreenVideoPictureSize(Bytes{0x30, 0x00, 0x30, 0x4B}));
}

TEST(Vp6, ReadsMacroblocksLessTheAdjustments) {
  // Adjustment 0x48: 4 pixels off the width, 8 off the height. Key frame, filter header set.
  const Bytes plain = {0x48, 0x00, 0x46, 23, 30, 23, 30};
  EXPECT_EQ(metastamp::Vp6PictureSize(plain), (FrameSize{30 * 16 - 4, 23 * 16 - 8}));
  // A separate coefficient partition puts a 2-byte offset before the sizes.
  const Bytes separated = {0x00, 0x01, 0x46, 0x12, 0x34, 15, 20, 15, 20};
  EXPECT_EQ(metastamp::Vp6PictureSize(separated), (FrameSize{320, 240}));
  // So does a frame without filter header (VP6 simple profile).
  const Bytes simple = {0x00, 0x00, 0x40, 0x12, 0x34, 15, 20, 15, 20};
  EXPECT_EQ(metastamp::Vp6PictureSize(simple), (FrameSize{320, 240}));
  // VP6 with alpha: a 24-bit offset to the alpha frame comes first.
  const Bytes alpha = {0x48, 0x00, 0x10, 0x00, 0x00, 0x46, 23, 30, 23, 30};
  EXPECT_EQ(metastamp::Vp6AlphaPictureSize(alpha), (FrameSize{476, 360}));
}

TEST(Vp6, InterFramesAndDamagedHeadersSayNothing) {
  EXPECT_FALSE(metastamp::Vp6PictureSize(Bytes{0x00, 0x80, 0x46, 15, 20, 15, 20}));  // inter
  EXPECT_FALSE(metastamp::Vp6PictureSize(Bytes{0x00, 0x00, 0x46, 0, 20, 0, 20}));    // 0 rows
  EXPECT_FALSE(metastamp::Vp6PictureSize(Bytes{0x00, 0x00, 0x4E, 15, 20}));  // sub-version 9
  EXPECT_FALSE(metastamp::Vp6PictureSize(Bytes{0x00, 0x01, 0x46, 0x12, 0x34, 15}));  // cut
  EXPECT_FALSE(metastamp::Vp6AlphaPictureSize(Bytes{0x00, 0x00, 0x10}));
}

// Sequence parameter sets as x264 writes them, with the size ffprobe reports for each clip.
struct SpsCase {
  const char* name;
  Bytes sps;
  FrameSize size;
};

const SpsCase kX264Sets[] = {
    {"high 4:2:0 cropped to 162x122",
     {0x67, 0x64, 0x00, 0x0a, 0xac, 0xd9, 0x42, 0xc4, 0x78, 0x89, 0x30, 0x11, 0x00,
      0x00, 0x03, 0x00, 0x01, 0x00, 0x00, 0x03, 0x00, 0x14, 0x0f, 0x12, 0x25, 0x96},
     {162, 122}},
    {"high 4:4:4 cropped to odd 101x75",
     {0x67, 0xf4, 0x00, 0x0a, 0x91, 0x9b, 0x28, 0xe5, 0xf1, 0x93, 0x60, 0x22, 0x00,
      0x00, 0x03, 0x00, 0x02, 0x00, 0x00, 0x03, 0x00, 0x28, 0x1e, 0x24, 0x4b, 0x2c},
     {101, 75}},
    {"high 4:4:4 uncropped 176x144",
     {0x67, 0xf4, 0x00, 0x0a, 0x91, 0x9b, 0x28, 0x58, 0x9d, 0x80, 0x88, 0x00, 0x00,
      0x03, 0x00, 0x08, 0x00, 0x00, 0x03, 0x00, 0xa0, 0x78, 0x91, 0x2c, 0xb0},
     {176, 144}},
    {"interlaced 4:2:0 cropped to 96x68",
     {0x67, 0x64, 0x00, 0x15, 0xac, 0xd9, 0x46, 0x6f, 0xc4, 0x60, 0x22, 0x00, 0x00,
      0x03, 0x00, 0x02, 0x00, 0x00, 0x03, 0x00, 0x28, 0x3e, 0x28, 0x53, 0x2c},
     {96, 68}},
    {"interlaced 4:2:2 cropped to 98x66",
     {0x67, 0x7a, 0x00, 0x15, 0xbc, 0xd9, 0x47, 0x6f, 0x11, 0x08, 0x60, 0x22, 0x00,
      0x00, 0x03, 0x00, 0x02, 0x00, 0x00, 0x03, 0x00, 0x28, 0x3e, 0x28, 0x53, 0x2c},
     {98, 66}},
};

TEST(AvcSps, ReadsTheCroppedSizeOfX264Sets) {
  for (const auto& set : kX264Sets) {
    EXPECT_EQ(metastamp::AvcSpsSize(set.sps), set.size) << set.name;
  }
}

// A main-profile-or-higher set with the fields x264 never writes: scaling lists and picture
// order count type 1, before the size.
Bytes UnusualSps(bool frame_mbs_only) {
  BitWriter bits;
  bits.Bits(0x67, 8).Bits(100, 8).Bits(0, 8).Bits(40, 8).Golomb(0);
  bits.Golomb(1).Golomb(0).Golomb(0).Bits(0, 1);  // 4:2:0, 8 bits, no bypass
  bits.Bits(1, 1);                                // scaling matrix present
  bits.Bits(1, 1);                                // 4x4 list 0, all 16 entries
  for (int j = 0; j < 16; ++j) bits.SignedGolomb(j == 0 ? 5 : 1);
  bits.Bits(0, 5);  // lists 1 to 5 absent
  bits.Bits(1, 1);  // 8x8 list 6, ended by a zero scale
  for (int j = 0; j < 4; ++j) bits.SignedGolomb(j == 3 ? -8 : 0);
  bits.Bits(0, 1);           // list 7 absent
  bits.Golomb(0).Golomb(1);  // frame num, poc type 1
  bits.Bits(0, 1).SignedGolomb(-2).SignedGolomb(3).Golomb(2).SignedGolomb(1).SignedGolomb(-1);
  bits.Golomb(4).Bits(0, 1);                          // ref frames, no gaps
  bits.Golomb(119).Golomb(frame_mbs_only ? 67 : 33);  // 1920 wide, 1088 high in map units
  bits.Bits(frame_mbs_only ? 1 : 0, 1);
  if (!frame_mbs_only) bits.Bits(1, 1);
  bits.Bits(1, 1).Bits(1, 1);  // direct 8x8, cropping:
  bits.Golomb(0).Golomb(0).Golomb(0).Golomb(frame_mbs_only ? 4 : 2);
  bits.Bits(0, 1).Bits(1, 1);  // no VUI, stop bit
  return bits.Take();
}

TEST(AvcSps, ReadsPastScalingListsAndPictureOrderCycles) {
  EXPECT_EQ(metastamp::AvcSpsSize(UnusualSps(true)), (FrameSize{1920, 1080}));
  EXPECT_EQ(metastamp::AvcSpsSize(UnusualSps(false)), (FrameSize{1920, 1080}));
}

TEST(AvcSps, RejectsCutAndForeignUnits) {
  const Bytes& good = kX264Sets[0].sps;
  EXPECT_FALSE(metastamp::AvcSpsSize(Bytes(good.begin(), good.begin() + 8)));
  Bytes picture_set = good;
  picture_set[0] = 0x68;
  EXPECT_FALSE(metastamp::AvcSpsSize(picture_set));
  EXPECT_FALSE(metastamp::AvcSpsSize(Bytes{}));
}

Bytes SequenceHeader(const Bytes& sps, uint8_t packet_type = 0) {
  Bytes data = {packet_type, 0,      0,    0,    1, sps[1],
                sps[2],      sps[3], 0xFF, 0xE1, 0, static_cast<uint8_t>(sps.size())};
  data.insert(data.end(), sps.begin(), sps.end());
  data.insert(data.end(), {0x01, 0x00, 0x04, 0x68, 0xeb, 0xe3, 0xcb});  // one picture set
  return data;
}

TEST(AvcSequenceHeader, ReadsTheFirstSequenceParameterSet) {
  EXPECT_EQ(metastamp::AvcSequenceHeaderSize(SequenceHeader(kX264Sets[0].sps)),
            (FrameSize{162, 122}));
  EXPECT_FALSE(metastamp::AvcSequenceHeaderSize(SequenceHeader(kX264Sets[0].sps, 1)));  // NALU
  Bytes cut = SequenceHeader(kX264Sets[0].sps);
  cut.resize(20);
  EXPECT_FALSE(metastamp::AvcSequenceHeaderSize(cut));
}

TEST(VideoTag, PicksTheReaderByCodecAndSkipsCommandFrames) {
  Bytes h263 = {0x12};
  const Bytes picture = metastamp_test::H263Picture(200, 100);
  h263.insert(h263.end(), picture.begin(), picture.end());
  EXPECT_EQ(metastamp::FrameSizeOfVideoTag(h263), (FrameSize{200, 100}));
  Bytes avc = {0x17};
  const Bytes header = SequenceHeader(kX264Sets[1].sps);
  avc.insert(avc.end(), header.begin(), header.end());
  EXPECT_EQ(metastamp::FrameSizeOfVideoTag(avc), (FrameSize{101, 75}));
  EXPECT_EQ(metastamp::FrameSizeOfVideoTag(Bytes{0x13, 0x30, 0x64, 0x30, 0x4B}),
            (FrameSize{100, 75}));
  EXPECT_FALSE(metastamp::FrameSizeOfVideoTag(Bytes{0x53, 0x30, 0x64, 0x30, 0x4B}));  // command
  EXPECT_FALSE(metastamp::FrameSizeOfVideoTag(Bytes{0x1C, 0x30, 0x64, 0x30, 0x4B}));  // codec 12
  EXPECT_FALSE(metastamp::FrameSizeOfVideoTag(Bytes{}));
}

}  // namespace
