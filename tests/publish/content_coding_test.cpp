#include "publish/content_coding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace publish {
namespace {

constexpr auto kBr = ContentCoding::kBrotli;
constexpr auto kGz = ContentCoding::kGzip;
constexpr auto kId = ContentCoding::kIdentity;

TEST(ChooseContentCoding, FollowsTheClientsWeights) {
  const struct {
    const char* header;
    ContentCoding both;       // brotli and gzip at hand
    ContentCoding only_gzip;  // gzip only
  } cases[] = {
      {"gzip, deflate, br, zstd", kBr, kGz},  // what Chromium sends
      {"gzip, deflate", kGz, kGz},
      {"br", kBr, kId},
      {"BR;Q=1", kBr, kId},
      {"br;q=0.5, gzip", kGz, kGz},
      {"br;q=1.0, gzip;q=0.999", kBr, kGz},
      {"br, gzip;q=0", kBr, kId},
      {"br;q=0, gzip;q=0", kId, kId},
      {"br;q=0.000, gzip;q=0.0", kId, kId},
      {"gzip;q=0.5", kGz, kGz},  // identity, unnamed, weighs least
      {"gzip;q=0.5, identity", kId, kId},
      {"identity", kId, kId},
      {"deflate", kId, kId},
      {"", kId, kId},
      {"*", kBr, kGz},
      {"*;q=0", kId, kId},
      {"*, br;q=0", kGz, kGz},
      {"x-gzip", kGz, kGz},
      {"gzip;q=2, br;q=abc", kId, kId},  // malformed weights take nothing
      {"gzip ; q=0.8 , br ; q=0.9", kBr, kGz},
      {" , ,gzip", kGz, kGz},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseContentCoding(std::string_view(c.header), true, true), c.both) << c.header;
    EXPECT_EQ(ChooseContentCoding(std::string_view(c.header), false, true), c.only_gzip)
        << c.header;
    EXPECT_EQ(ChooseContentCoding(std::string_view(c.header), false, false), kId) << c.header;
  }
  EXPECT_EQ(ChooseContentCoding(std::nullopt, true, true), kId);
}

}  // namespace
}  // namespace publish
