// Every file the store replaces (settings, affiliate, project) is written beside the old one
// and renamed over it: a failure leaves the old file as it was.
#include <gtest/gtest.h>
#include <linux/capability.h>
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

// While alive, the calling thread cannot override file permissions: root's power to write into
// any folder (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH) is taken out of the thread's effective set
// and given back afterwards, so a read-only folder is read-only whoever runs the test. Other
// users have nothing to take out.
class WithoutPermissionOverride {
 public:
  WithoutPermissionOverride() {
    if (syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
      reduced[capability / 32].effective &= ~(1u << (capability % 32));
    syscall(SYS_capset, &header_, reduced);
  }
  ~WithoutPermissionOverride() { syscall(SYS_capset, &header_, saved_); }
  WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
  WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};  // 0: this thread
  __user_cap_data_struct saved_[2]{};
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
