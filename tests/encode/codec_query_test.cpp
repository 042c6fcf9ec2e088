#include "encode/codec_query.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

#include "qt_printers.h"

namespace {

// Short clips of each kind, made once with the ffmpeg command line.
class CodecQueryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    media_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(media_->isValid());
    const QStringList video = {"-f", "lavfi", "-i", "testsrc=s=64x48:d=0.5:r=10"};
    Make("cram.avi", video + QStringList{"-c:v", "msvideo1", "-vtag", "CRAM"});
    Make("msvc.avi", video + QStringList{"-c:v", "msvideo1", "-vtag", "MSVC"});
    Make("mp42.avi", video + QStringList{"-c:v", "msmpeg4v2"});
    Make("wmv2.wmv", video + QStringList{"-c:v", "wmv2"});
    Make("mpeg1.mpg", {"-f", "lavfi", "-i", "testsrc=s=64x48:d=0.5:r=25", "-c:v", "mpeg1video"});
    Make("tone.wav", {"-f", "lavfi", "-i", "sine=d=0.5"});
    QFile empty(Path("empty.avi"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    QFile notes(Path("notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("not a movie\n");
  }
  static void TearDownTestSuite() { media_.reset(); }

  static void Make(const char* name, const QStringList& arguments) {
    const int status = QProcess::execute(
        "ffmpeg", QStringList{"-v", "error", "-y"} + arguments + QStringList{Path(name)});
    ASSERT_EQ(status, 0) << name;
  }
  static QString Path(const char* name) { return media_->filePath(name); }

  static std::unique_ptr<QTemporaryDir> media_;
};
std::unique_ptr<QTemporaryDir> CodecQueryTest::media_;

// What MediaInfo 23 answers for each kind of file.
TEST_F(CodecQueryTest, NamesAndDescribesTheFirstVideoStream) {
  struct CodecCase {
    const char* file;
    const char* codec;
    const char* description;
    bool unreadable;
  };
  const CodecCase cases[] = {
      {"cram.avi", "CRAM", "Microsoft Video 1 (CRAM)", true},
      // The same codec under its other tag is not one of the names: the encoder is tried.
      {"msvc.avi", "MSVC", "Microsoft Video 1 (MSVC)", false},
      {"mp42.avi", "MP42",
       "Microsoft MPEG-4 V2 (MP42)\nPlease visit: "
       "http://www.apple.com/quicktime/download/standalone.html",
       false},
      {"wmv2.wmv", "WMV2",
       "Windows Media Video 8 (WMV2)\nPlease visit: "
       "http://www.microsoft.com/windows/windowsmedia/format/codecdownload.aspx",
       false},
      {"mpeg1.mpg", "MPEG-1V", " (MPEG-1V)", false},
      {"tone.wav", "", " ()", false},  // opens, but has no video stream
      // Empty and non-media files open as well, as files without a video stream.
      {"empty.avi", "", " ()", false},
      {"notes.txt", "", " ()", false},
      {"missing.avi", "", "", false},
  };
  for (const CodecCase& c : cases) {
    SCOPED_TRACE(c.file);
    const QString codec = encode::QueryVideoCodec(Path(c.file));
    EXPECT_EQ(codec, c.codec);
    EXPECT_EQ(encode::DescribeVideoCodec(Path(c.file)), c.description);
    EXPECT_EQ(encode::IsUnreadableCodec(codec), c.unreadable);
  }
}

TEST(UnreadableCodecTest, ComparesWholeNamesWithoutCase) {
  for (const char* name : {"cram", "CRAM", "msvidc", "MSVIDC", "msvideo1", "MsVideo1"}) {
    EXPECT_TRUE(encode::IsUnreadableCodec(name)) << name;
  }
  for (const char* name : {"", "msvideo10", "msvideo1 ", "cra", "msvc", "MP42"}) {
    EXPECT_FALSE(encode::IsUnreadableCodec(name)) << name;
  }
}

}  // namespace
