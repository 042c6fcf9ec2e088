// Where the program's own files go: a writable program folder keeps them all; a read-only one
// sends them to the user's folders, and gives every running program its own encoder folder.
#include "platform/user_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <optional>

#include "platform/program_folder.h"
#include "qt_printers.h"
#include "without_permission_override.h"

namespace {

constexpr QFile::Permissions kPrivate = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
// The permission bits themselves, without Qt's "current user" view of them.
constexpr int kOwnerGroupOther = 0x7077;

// Sets an environment variable (or unsets it for an empty value) and restores it afterwards.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const QString& value) : name_(name) {
    if (qEnvironmentVariableIsSet(name)) previous_ = qEnvironmentVariable(name);
    if (value.isEmpty())
      qunsetenv(name);
    else
      qputenv(name, value.toLocal8Bit());
  }
  ~ScopedVariable() {
    if (previous_)
      qputenv(name_, previous_->toLocal8Bit());
    else
      qunsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<QString> previous_;
};

class UserFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.isValid() && home_.isValid());
    platform::OverrideProgramFolder(program_.path());
  }
  void TearDown() override {
    platform::RemoveEncoderWorkingFolder();
    QFile::setPermissions(program_.path(), kPrivate);
    platform::OverrideProgramFolder({});
  }

  // The program folder as a system-wide install leaves it: nobody may write into it.
  void MakeProgramFolderReadOnly() {
    ASSERT_TRUE(QFile::setPermissions(
        program_.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
  }
  QString Home(const QString& name) const { return QDir(home_.path()).filePath(name); }
  QString Program(const QString& name) const { return QDir(program_.path()).filePath(name); }
  static void Touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  QTemporaryDir program_;
  QTemporaryDir home_;
  ScopedVariable home_variable_{"HOME", home_.path()};
  ScopedVariable config_{"XDG_CONFIG_HOME", {}};
  ScopedVariable runtime_{"XDG_RUNTIME_DIR", {}};
  ScopedVariable cache_{"XDG_CACHE_HOME", {}};
};

TEST_F(UserFilesTest, AWritableProgramFolderKeepsEverythingAsAPortableCopy) {
  Touch(Home(".config/reelwright/reelwright.ini"));  // a user's copy is not looked at
  EXPECT_TRUE(platform::ProgramFolderIsWritable());
  EXPECT_EQ(platform::OwnFileToRead("reelwright.ini"), Program("reelwright.ini"));
  EXPECT_EQ(platform::OwnFileToWrite("affiliate.cfg"), Program("affiliate.cfg"));
  EXPECT_EQ(platform::EncoderWorkingFolder(), program_.path());
  EXPECT_FALSE(QFileInfo::exists(Home(".cache/reelwright")));
}

TEST_F(UserFilesTest, AReadOnlyProgramFolderSendsTheSettingsToTheUser) {
  WithoutPermissionOverride as_a_plain_user;
  MakeProgramFolderReadOnly();
  EXPECT_FALSE(platform::ProgramFolderIsWritable());
  const QString own = Home(".config/reelwright/reelwright.ini");
  // First start: the defaults shipped beside the program are read, the user's file is written.
  EXPECT_EQ(platform::OwnFileToRead("reelwright.ini"), Program("reelwright.ini"));
  EXPECT_EQ(platform::OwnFileToWrite("reelwright.ini"), own);
  EXPECT_TRUE(QFileInfo(Home(".config/reelwright")).isDir());
  EXPECT_EQ(QFile::permissions(Home(".config/reelwright")) & kOwnerGroupOther, kPrivate);
  // From then on the user's own copy is read.
  Touch(own);
  EXPECT_EQ(platform::OwnFileToRead("reelwright.ini"), own);
  EXPECT_EQ(platform::OwnFileToRead("affiliate.cfg"), Program("affiliate.cfg"));
}

TEST_F(UserFilesTest, TheUserFolderFollowsXdgConfigHomeWhenItIsAnAbsolutePath) {
  EXPECT_EQ(platform::UserConfigFolder(), Home(".config/reelwright"));
  {
    ScopedVariable config("XDG_CONFIG_HOME", Home("elsewhere"));
    EXPECT_EQ(platform::UserConfigFolder(), Home("elsewhere/reelwright"));
  }
  ScopedVariable relative("XDG_CONFIG_HOME", "relative/config");
  EXPECT_EQ(platform::UserConfigFolder(), Home(".config/reelwright"));
}

TEST_F(UserFilesTest, EachProgramGetsAPrivateEncoderFolderRemovedAtTheEnd) {
  WithoutPermissionOverride as_a_plain_user;
  MakeProgramFolderReadOnly();
  ASSERT_TRUE(QDir().mkpath(Home("run")));
  ScopedVariable runtime("XDG_RUNTIME_DIR", Home("run"));

  const QString folder = platform::EncoderWorkingFolder();
  EXPECT_EQ(QFileInfo(folder).path(), Home("run/reelwright"));
  EXPECT_TRUE(QFileInfo(folder).isDir());
  EXPECT_EQ(QFile::permissions(folder) & kOwnerGroupOther, kPrivate);
  EXPECT_EQ(platform::EncoderWorkingFolder(), folder);  // the same for the whole run
  Touch(QDir(folder).filePath("stat"));

  platform::RemoveEncoderWorkingFolder();
  EXPECT_FALSE(QFileInfo::exists(folder));
  EXPECT_NE(platform::EncoderWorkingFolder(), folder);
}

TEST_F(UserFilesTest, WithoutARuntimeFolderTheEncoderFolderIsInTheCache) {
  WithoutPermissionOverride as_a_plain_user;
  MakeProgramFolderReadOnly();
  {
    ScopedVariable missing_runtime("XDG_RUNTIME_DIR", Home("no such folder"));
    EXPECT_EQ(QFileInfo(platform::EncoderWorkingFolder()).path(), Home(".cache/reelwright"));
    EXPECT_FALSE(QFileInfo::exists(Home("no such folder")));
    platform::RemoveEncoderWorkingFolder();
  }
  ScopedVariable cache("XDG_CACHE_HOME", Home("cache"));
  EXPECT_EQ(QFileInfo(platform::EncoderWorkingFolder()).path(), Home("cache/reelwright"));
}

}  // namespace
