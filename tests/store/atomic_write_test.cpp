// Every file the store replaces (settings, affiliate, project) is written beside the old one
// and renamed over it: a failure leaves the old file as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "store/affiliate_file.h"
#include "store/project_writer.h"
#include "store/settings_file.h"
#include "store_test_files.h"
#include "without_permission_override.h"

namespace store {
namespace {

const QByteArray kOldContents = "old";

struct Writer {
  const char* name;
  std::function<bool(const QString& path)> write;
};

std::vector<Writer> AllWriters() {
  StoredSettings settings;
  settings.presets.resize(3);
  ProjectSnapshot job;
  job.page_title = "A page title long enough to need more than a few bytes on disk";
  return {
      {"settings", [settings](const QString& path) { return WriteSettingsFile(path, settings); }},
      {"affiliate", [](const QString& path) { return WriteAffiliateId(path, QString(200, u'a')); }},
      {"project",
       [job](const QString& path) { return SaveProjectFile(path, ProjectFileText(job)); }},
  };
}

// While alive, no file of this process can grow beyond a few bytes: the next write fails.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previous_handler_ = signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    signal(SIGXFSZ, previous_handler_);
  }

 private:
  rlimit previous_{};
  sighandler_t previous_handler_;
};

TEST(AtomicWriteTest, ReplacesTheFileAndLeavesNothingBeside) {
  for (const Writer& writer : AllWriters()) {
    QTemporaryDir dir;
    const QString path = dir.filePath("target");
    store_test::WriteBytes(path, kOldContents);
    EXPECT_TRUE(writer.write(path)) << writer.name;
    EXPECT_NE(store_test::ReadBytes(path), kOldContents) << writer.name;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"target"})
        << writer.name;
  }
}

TEST(AtomicWriteTest, AFailedWriteLeavesTheOldFile) {
  for (const Writer& writer : AllWriters()) {
    QTemporaryDir dir;
    const QString path = dir.filePath("target");
    store_test::WriteBytes(path, kOldContents);
    bool written = true;
    {
      FileSizeLimit limit(16);
      written = writer.write(path);
    }
    EXPECT_FALSE(written) << writer.name;
    EXPECT_EQ(store_test::ReadBytes(path), kOldContents) << writer.name;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"target"})
        << writer.name;
  }
}

TEST(AtomicWriteTest, AReadOnlyFolderLeavesTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("target");
  store_test::WriteBytes(path, kOldContents);
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
  {
    WithoutPermissionOverride as_a_plain_user;
    QFile probe(dir.filePath("probe"));
    ASSERT_FALSE(probe.open(QIODevice::WriteOnly)) << "the folder is still writable";
    for (const Writer& writer : AllWriters()) {
      EXPECT_FALSE(writer.write(path)) << writer.name;
      EXPECT_EQ(store_test::ReadBytes(path), kOldContents) << writer.name;
    }
  }
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"target"});
}

TEST(AtomicWriteTest, AMissingFolderFailsQuietly) {
  QTemporaryDir dir;
  for (const Writer& writer : AllWriters()) {
    EXPECT_FALSE(writer.write(dir.filePath("no/such/folder/target"))) << writer.name;
  }
}

}  // namespace
}  // namespace store
