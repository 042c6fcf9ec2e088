// The settings, affiliate and project files when their name leads to something other than a
// plain file: reading never waits and finds nothing, writing leaves the thing as it was.
#include "special_files.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "store/affiliate_file.h"
#include "store/project_reader.h"
#include "store/project_writer.h"
#include "store/settings_file.h"
#include "store_test_files.h"

namespace store {
namespace {

using test_support::SpecialKind;

struct StoredFile {
  const char* name;
  std::function<bool(const QString& path)> reads_as_missing;
  std::function<bool(const QString& path)> write;
};

std::vector<StoredFile> AllStoredFiles() {
  ProjectSnapshot job;
  job.page_title = "A title";
  return {
      {"reelwright.ini",
       [](const QString& path) {
         const StoredSettings settings = ReadSettingsFile(path);
         return settings.disable_i_button && settings.presets.empty();
       },
       [](const QString& path) { return WriteSettingsFile(path, StoredSettings{}); }},
      {"affiliate.cfg", [](const QString& path) { return ReadAffiliateId(path).isEmpty(); },
       [](const QString& path) { return WriteAffiliateId(path, "partner"); }},
      {"job.reel", [](const QString& path) { return !ReadProjectLines(path).has_value(); },
       [job](const QString& path) { return SaveProjectFile(path, ProjectFileText(job)); }},
  };
}

TEST(SpecialFilesTest, AreNeitherWaitedOnNorReplaced) {
  for (const SpecialKind kind : test_support::AllSpecialKinds()) {
    for (const StoredFile& file : AllStoredFiles()) {
      SCOPED_TRACE(std::string(file.name) + " as a " + test_support::KindName(kind));
      QTemporaryDir dir;
      const QString path = dir.filePath(file.name);
      const QString cannot = test_support::MakeSpecialFile(kind, path);
      if (!cannot.isEmpty()) {
        std::printf("skipped %s as a %s here: %s\n", file.name, test_support::KindName(kind),
                    qPrintable(cannot));
        continue;
      }
      const QString before = test_support::Describe(path);
      {
        test_support::FifoWatchdog watchdog(dir.path());
        EXPECT_TRUE(file.reads_as_missing(path));
        EXPECT_FALSE(watchdog.fired()) << "reading waited on the FIFO";
      }
      EXPECT_FALSE(file.write(path));
      EXPECT_EQ(test_support::Describe(path), before);
    }
  }
}

TEST(SpecialFilesTest, ALinkToAPlainFileIsReadAndReplacedThroughTheLink) {
  for (const StoredFile& file : AllStoredFiles()) {
    SCOPED_TRACE(file.name);
    QTemporaryDir dir;
    const QString target = dir.filePath("elsewhere");
    const QString link = dir.filePath(file.name);
    store_test::WriteBytes(target, "[Option0]\nname=Web\naffiliate\nTITLE=old\n");
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_FALSE(file.reads_as_missing(link));
    EXPECT_TRUE(file.write(link));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_NE(store_test::ReadBytes(target), "[Option0]\nname=Web\naffiliate\nTITLE=old\n");
  }
}

}  // namespace
}  // namespace store
