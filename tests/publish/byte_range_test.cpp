#include "publish/byte_range.h"

#include <gtest/gtest.h>

#include <string>

namespace publish {
namespace {

std::string Show(const ByteRange& range) {
  switch (range.kind) {
    case ByteRange::kWhole:
      return "whole";
    case ByteRange::kUnsatisfiable:
      return "416";
    case ByteRange::kPart:
      return std::to_string(range.first) + "-" + std::to_string(range.last);
  }
  return "?";
}

TEST(ParseByteRange, OneRangeCutToTheFile) {
  const std::pair<const char*, const char*> cases[] = {
      {"bytes=0-0", "0-0"},
      {"bytes=3-6", "3-6"},
      {"bytes=5-", "5-12"},
      {"bytes=5-1000", "5-12"},
      {"bytes=5-99999999999999999999999", "5-12"},
      {"bytes=12-12", "12-12"},
      {"bytes=-5", "8-12"},
      {"bytes=-13", "0-12"},
      {"bytes=-1000", "0-12"},
      {"Bytes = 1-2 ", "1-2"},
  };
  for (const auto& [header, expected] : cases)
    EXPECT_EQ(Show(ParseByteRange(header, 13)), expected) << header;
}

TEST(ParseByteRange, NothingAtOrPastTheEnd) {
  for (const char* header :
       {"bytes=13-", "bytes=13-13", "bytes=14-20", "bytes=99999999999999999999999-", "bytes=-0"})
    EXPECT_EQ(Show(ParseByteRange(header, 13)), "416") << header;
  EXPECT_EQ(Show(ParseByteRange("bytes=0-", 0)), "416");
  EXPECT_EQ(Show(ParseByteRange("bytes=-5", 0)), "416");
}

// What is not one well-formed byte range is ignored: the whole file is answered.
TEST(ParseByteRange, IgnoresAnythingElse) {
  for (const char* header :
       {"", "bytes", "bytes=", "bytes=-", "bytes=--1", "bytes=1-2-3", "bytes=6-3", "bytes=a-",
        "bytes=1-b", "bytes=0-1,3-4", "bytes=0-1,", "bytes= -1 2", "items=0-1", "bytes=1 -2",
        "bytes=+1-2", "bytes=1--2", "bytes=-+5"})
    EXPECT_EQ(Show(ParseByteRange(header, 13)), "whole") << header;
}

}  // namespace
}  // namespace publish
