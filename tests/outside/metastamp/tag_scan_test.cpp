// Finding a large file's tags on several threads: on any file, the survey is the one a single
// walk gives, however the file is cut into shares; on an ordinary file the threads' walks join
// up and find every tag; bytes inside a body that look like tags never make a walk join.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "flv_bytes.h"
#include "outside/metastamp/byte_source.h"
#include "outside/metastamp/byte_window.h"
#include "outside/metastamp/error.h"
#include "outside/metastamp/flv_survey.h"
#include "outside/metastamp/flv_tag_reader.h"
#include "outside/metastamp/tag_heads.h"

using metastamp::MemorySource;
using metastamp::TagScanPlan;
using metastamp_test::Bytes;
using metastamp_test::FlvBuilder;
using metastamp_test::H263Picture;

namespace {

constexpr uint64_t kFirstTag = 13;  // after a 9-byte header and the first size field

Bytes Noise(std::mt19937& random, size_t size) {
  Bytes bytes(size);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
  return bytes;
}

// Pictures and sound as an encoder writes them: a key frame every tenth picture, bodies of
// every size from a byte to many kilobytes.
Bytes OrdinaryFile(int pictures) {
  std::mt19937 random(7);
  FlvBuilder flv;
  flv.Metadata(0, 320, 240);
  for (int i = 0; i < pictures; ++i) {
    Bytes picture = H263Picture(320, 240);
    const Bytes noise = Noise(random, random() % 6000);
    picture.insert(picture.end(), noise.begin(), noise.end());
    flv.Video(i * 40, i % 10 == 0 ? 1 : 2, picture);
    flv.Audio(i * 40 + 10, Noise(random, 1 + random() % 400));
  }
  return flv.bytes();
}

// Four tags in a row whose sizes agree with each other, as a boundary search looks for.
Bytes TagLookalikes() {
  Bytes run;
  for (int i = 0; i < 4; ++i) {
    const Bytes tag = {8, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 0, 0, 0, 16};
    run.insert(run.end(), tag.begin(), tag.end());
  }
  return run;
}

std::vector<uint64_t> TagOffsets(const Bytes& file) {
  MemorySource source(file);
  metastamp::ByteWindow window(source, 4096);
  metastamp::FlvTagReader reader(window);
  std::vector<uint64_t> offsets;
  while (const auto tag = reader.Next()) offsets.push_back(tag->offset);
  return offsets;
}

std::vector<uint64_t> ScannedOffsets(const Bytes& file, unsigned threads) {
  MemorySource source(file);
  std::vector<uint64_t> offsets;
  const metastamp::TagHeads heads = metastamp::ScanTagHeads(source, kFirstTag, {threads, 0});
  for (const auto& piece : heads.pieces())
    for (const auto& head : piece) offsets.push_back(head.offset);
  return offsets;
}

// The survey, or the error it ends with.
std::string SurveyOutcome(const Bytes& file, const TagScanPlan& plan, metastamp::FlvSurvey* out) {
  MemorySource source(file);
  try {
    *out = metastamp::SurveyFlv(source, plan);
    return "ok";
  } catch (const metastamp::Error& error) {
    return error.what();
  }
}

void ExpectSurveyAsOneWalkGives(const Bytes& file) {
  metastamp::FlvSurvey alone;
  const std::string alone_outcome = SurveyOutcome(file, {1, 0}, &alone);
  for (unsigned threads : {2u, 3u, 4u, 7u}) {
    metastamp::FlvSurvey shared;
    EXPECT_EQ(SurveyOutcome(file, {threads, 0}, &shared), alone_outcome) << threads << " threads";
    EXPECT_TRUE(shared == alone) << threads << " threads";
  }
}

TEST(TagScan, TheThreadsFindEveryTagOfAnOrdinaryFile) {
  const Bytes file = OrdinaryFile(300);
  const std::vector<uint64_t> offsets = TagOffsets(file);
  for (unsigned threads : {2u, 3u, 4u}) EXPECT_EQ(ScannedOffsets(file, threads), offsets);
  ExpectSurveyAsOneWalkGives(file);
}

TEST(TagScan, LookalikesInsideABodyNeverJoinAWalk) {
  // One huge picture full of lookalike runs holds every share's starting point.
  Bytes picture = H263Picture(320, 240);
  for (int i = 0; i < 3000; ++i) {
    const Bytes run = TagLookalikes();
    picture.insert(picture.end(), run.begin(), run.end());
  }
  const Bytes file = FlvBuilder().Video(0, 1, picture).Audio(0).Video(40, 2, {0x21}).bytes();
  const std::vector<uint64_t> offsets = TagOffsets(file);
  for (unsigned threads : {2u, 3u, 5u}) {
    const std::vector<uint64_t> scanned = ScannedOffsets(file, threads);
    ASSERT_LE(scanned.size(), offsets.size());
    EXPECT_TRUE(std::equal(scanned.begin(), scanned.end(), offsets.begin()));
  }
  ExpectSurveyAsOneWalkGives(file);
}

TEST(TagScan, DamagedAndUnusualFilesGiveWhatOneWalkGives) {
  const Bytes ordinary = OrdinaryFile(120);

  // Cut inside a tag near the end, in the last thread's share.
  ExpectSurveyAsOneWalkGives(Bytes(ordinary.begin(), ordinary.end() - 700));
  // Cut inside the trailing size field of the last tag.
  ExpectSurveyAsOneWalkGives(Bytes(ordinary.begin(), ordinary.end() - 2));

  // Size fields that a writer left at zero: no boundary can be believed.
  Bytes zeroed_sizes = ordinary;
  for (const uint64_t offset : TagOffsets(ordinary)) {
    const uint32_t body = metastamp::ReadU24(std::span(zeroed_sizes).subspan(offset + 1));
    const uint64_t field = offset + 11 + body;
    if (field + 4 <= zeroed_sizes.size()) std::fill_n(zeroed_sizes.begin() + field, 4, 0);
  }
  EXPECT_TRUE(ScannedOffsets(zeroed_sizes, 3).size() < TagOffsets(zeroed_sizes).size());
  ExpectSurveyAsOneWalkGives(zeroed_sizes);

  // A tag in the middle that claims more than the file holds.
  Bytes overlong = ordinary;
  const uint64_t middle = TagOffsets(ordinary)[120];
  overlong[middle + 1] = 0x7F;
  ExpectSurveyAsOneWalkGives(overlong);

  // Several old onMetaData tags spread through the file, dropped from the new one.
  FlvBuilder scattered;
  std::mt19937 random(3);
  for (int i = 0; i < 60; ++i) {
    scattered.Video(i * 40, i % 5 == 0 ? 1 : 2, Noise(random, 100 + random() % 3000));
    if (i % 20 == 7) scattered.Metadata(i * 40, 320, 240);
  }
  ExpectSurveyAsOneWalkGives(scattered.bytes());
}

// Where a process may start no more threads, the survey goes on without them (it used to end
// the program: a thread left unjoined when starting the next one failed).
TEST(TagScan, NoThreadsToBeHadLeavesTheWalkToTheReader) {
  const Bytes file = OrdinaryFile(200);
  metastamp::FlvSurvey alone;
  ASSERT_EQ(SurveyOutcome(file, {1, 0}, &alone), "ok");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Address space for a few more megabytes, not for eight thread stacks of 8 MB each.
    long pages = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm || std::fscanf(statm, "%ld", &pages) != 1) _exit(3);
    std::fclose(statm);
    const rlim_t limit = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (rlim_t{12} << 20);
    const rlimit address_space{limit, limit};
    if (setrlimit(RLIMIT_AS, &address_space) != 0) _exit(3);
    metastamp::FlvSurvey shared;
    const bool same = SurveyOutcome(file, {8, 0}, &shared) == "ok" && shared == alone;
    _exit(same ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the survey ended the process (signal " << WTERMSIG(status)
                                 << ")";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(TagScan, SmallFilesAndOneThreadAreLeftToTheReader) {
  const Bytes file = OrdinaryFile(20);
  MemorySource source(file);
  EXPECT_TRUE(metastamp::ScanTagHeads(source, kFirstTag, {1, 0}).empty());
  EXPECT_TRUE(metastamp::ScanTagHeads(source, kFirstTag, {4, file.size() + 1}).empty());
  EXPECT_FALSE(metastamp::ScanTagHeads(source, kFirstTag, {4, file.size()}).empty());
}

}  // namespace
