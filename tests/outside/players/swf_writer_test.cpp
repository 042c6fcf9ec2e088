// The SWF writer's records and tags, read back by our own reader.
#include "outside/players/swf_writer.h"

#include <gtest/gtest.h>

#include "swf_reader.h"

namespace {

using players_test::Hex;

using players::EncodeRect;
using players::SwfMovie;

TEST(SwfWriter, RectOfTheClassicStageSizeHasItsWellKnownBytes) {
  // 550 by 400 pixels: the header bytes every tutorial on the format shows.
  EXPECT_EQ(Hex(EncodeRect(0, 11000, 0, 8000)), "78 00 05 5F 00 00 0F A0 00");
}

TEST(SwfWriter, RectWithNegativeValuesReadsBack) {
  const std::string rect = EncodeRect(-20, 300, -1, 1);
  std::string file = "FWS";
  file += '\x08';
  file += std::string(4, '\0');
  file += rect;
  file += std::string("\x00\x1E\x00\x00\x00\x00", 6);
  const uint32_t size = static_cast<uint32_t>(file.size());
  for (int i = 0; i < 4; ++i) file[4 + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
  const auto swf = players_test::ReadSwf(file);
  EXPECT_EQ(swf.x_min, -20);
  EXPECT_EQ(swf.x_max, 300);
  EXPECT_EQ(swf.y_min, -1);
  EXPECT_EQ(swf.y_max, 1);
  EXPECT_DOUBLE_EQ(swf.frame_rate, 30);
}

TEST(SwfWriter, SignedFieldWidths) {
  EXPECT_EQ(players::SignedBitsFor(0), 1);
  EXPECT_EQ(players::SignedBitsFor(1), 2);
  EXPECT_EQ(players::SignedBitsFor(-1), 1);
  EXPECT_EQ(players::SignedBitsFor(-2), 2);
  EXPECT_EQ(players::SignedBitsFor(11000), 15);
  EXPECT_EQ(players::SignedBitsFor(-11000), 15);
}

TEST(SwfWriter, TagsUseTheShortFormUpTo62BytesAndTheLongFormBeyond) {
  for (size_t size : {0u, 1u, 62u, 63u, 64u, 70000u}) {
    const std::string tag = SwfMovie::Tag(12, std::string(size, 'x'));
    const bool long_form = size >= 63;
    EXPECT_EQ(tag.size(), size + (long_form ? 6 : 2)) << size;
    const unsigned head =
        static_cast<unsigned char>(tag[0]) | (static_cast<unsigned char>(tag[1]) << 8);
    EXPECT_EQ(head >> 6, 12u);
    EXPECT_EQ(head & 0x3F, long_form ? 0x3Fu : size) << size;
  }
}

TEST(SwfWriter, MovieReadsBackTagByTagWithHeaderCountsAndSizes) {
  SwfMovie movie(8, 400, 300, 12.5);
  movie.FileAttributes(true);
  movie.SetBackgroundColor({0x10, 0x20, 0x30});
  movie.DefineVideoStream(1, 320, 240, true);
  movie.PlaceObject2(1, 1, "video");
  movie.DoAction(std::string(100, '\0'));
  movie.ShowFrame();
  movie.ShowFrame();
  const auto swf = players_test::ReadSwf(movie.Finish());

  EXPECT_EQ(swf.version, 8);
  EXPECT_EQ(swf.x_max, 8000);
  EXPECT_EQ(swf.y_max, 6000);
  EXPECT_DOUBLE_EQ(swf.frame_rate, 12.5);
  EXPECT_EQ(swf.frame_count, 2);
  std::vector<int> codes;
  for (const auto& tag : swf.tags) codes.push_back(tag.code);
  EXPECT_EQ(codes, (std::vector<int>{69, 9, 60, 26, 12, 1, 1, 0}));
  EXPECT_EQ(Hex(swf.tags[0].body), "01 00 00 00");
  EXPECT_EQ(Hex(swf.tags[1].body), "10 20 30");
  // id 1, no frames, 320 by 240, smoothing on, no codec of its own
  EXPECT_EQ(Hex(swf.tags[2].body), "01 00 00 00 40 01 F0 00 01 00");
  // has name, matrix and character; depth 1, character 1, identity translation, "video"
  EXPECT_EQ(swf.tags[3].body.substr(0, 5), std::string("\x26\x01\x00\x01\x00", 5));
  EXPECT_EQ(swf.tags[3].body.substr(swf.tags[3].body.size() - 6), std::string("video\0", 6));
  EXPECT_TRUE(swf.tags[4].long_form);
  EXPECT_EQ(swf.tags[4].body.size(), 100u);
}

}  // namespace
