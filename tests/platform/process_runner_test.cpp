#include "platform/process_runner.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/stand_in_program.h"

namespace {

using platform::RunHiddenAndWait;
using platform::StartHidden;
using test_support::StandInRecord;
using test_support::WaitUntil;

// Lets the stand-in take its time for the length of one test.
class Linger {
 public:
  explicit Linger(int ms) { qputenv("STAND_IN_LINGER_MS", QByteArray::number(ms)); }
  ~Linger() { qunsetenv("STAND_IN_LINGER_MS"); }
};

class ProcessRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    program_ = folder_.filePath("stand in");
    ASSERT_TRUE(test_support::PlaceStandIn(program_));
  }
  QString Folder() const { return QFileInfo(folder_.path()).canonicalFilePath(); }

  QTemporaryDir folder_;
  QString program_;
};

TEST_F(ProcessRunnerTest, StartedProgramGetsEveryArgumentUnchangedInItsWorkingFolder) {
  const QStringList arguments = {"-i", "/a b/c  d.avi", "say \"hi\"", "-rf /", "$HOME;`id`|*&&",
                                 "",   "x\\y'z"};
  auto process = StartHidden(program_, arguments, folder_.path());
  ASSERT_NE(process, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return process->HasEnded(); }));
  EXPECT_EQ(StandInRecord(folder_.path()), QStringList{Folder()} + arguments);
}

TEST_F(ProcessRunnerTest, HasEndedLooksWithoutWaiting) {
  Linger linger(400);
  auto process = StartHidden(program_, {}, folder_.path());
  ASSERT_NE(process, nullptr);
  EXPECT_FALSE(process->HasEnded());
  // Without the event loop: HasEnded alone notices the end.
  QDeadlineTimer deadline(10000);
  while (!process->HasEnded() && !deadline.hasExpired()) QThread::msleep(5);
  EXPECT_TRUE(process->HasEnded());
  EXPECT_FALSE(StandInRecord(folder_.path()).isEmpty());
}

TEST_F(ProcessRunnerTest, ProgramThatCannotStartGivesNoProcess) {
  EXPECT_EQ(StartHidden(folder_.filePath("missing"), {}, folder_.path()), nullptr);
  QFile not_executable(folder_.filePath("plain.txt"));
  ASSERT_TRUE(not_executable.open(QIODevice::WriteOnly));
  not_executable.close();
  EXPECT_EQ(StartHidden(not_executable.fileName(), {}, folder_.path()), nullptr);
}

TEST_F(ProcessRunnerTest, AbandonedProgramRunsToItsEndAndIsCollected) {
  Linger linger(300);
  qint64 id = 0;
  {
    auto process = StartHidden(program_, {"left alone"}, folder_.path());
    ASSERT_NE(process, nullptr);
    id = process->Id();
  }
  // Not killed: it finishes its work.
  ASSERT_TRUE(WaitUntil([&] { return !StandInRecord(folder_.path()).isEmpty(); }));
  EXPECT_EQ(StandInRecord(folder_.path()).value(1), "left alone");
  // Not a zombie either: once it has ended, nothing of it is left.
  EXPECT_TRUE(WaitUntil([&] { return !QFileInfo::exists(QString("/proc/%1").arg(id)); }));
}

TEST_F(ProcessRunnerTest, RunAndWaitReturnsOnlyAfterTheProgramEnded) {
  Linger linger(300);
  RunHiddenAndWait(program_, {"/x"}, folder_.path());
  EXPECT_EQ(StandInRecord(folder_.path()), (QStringList{Folder(), "/x"}));
}

TEST_F(ProcessRunnerTest, RunAndWaitOnMissingProgramReturnsSilently) {
  RunHiddenAndWait(folder_.filePath("missing"), {"a"}, folder_.path());
  EXPECT_TRUE(StandInRecord(folder_.path()).isEmpty());
}

}  // namespace
