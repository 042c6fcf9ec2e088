#include "encode/metadata_tool.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/stand_in_program.h"
#include "qt_printers.h"

namespace {

TEST(FlvReportPathTest, CutsAtTheLastDotOfTheWholePath) {
  const std::pair<const char*, const char*> cases[] = {
      {"/out/clip.flv", "/out/clip.xml"},
      {"/out/my.flv.old", "/out/my.flv.xml"},
      {"/out/clip", "/out/clip.xml"},
      {".flv", ".flv.xml"},         // a dot that begins the path is kept
      {"/out.d/clip", "/out.xml"},  // the tool derives its report's name the same way
  };
  for (const auto& [flv, report] : cases) EXPECT_EQ(encode::FlvReportPath(flv), report) << flv;
}

class ReadFlvFrameSizeTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(temp_.isValid()); }
  QString Path(const char* name) const { return temp_.filePath(name); }
  static void Write(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  QTemporaryDir temp_;
};

TEST_F(ReadFlvFrameSizeTest, ReadsWidthAndHeightAndDeletesTheReport) {
  struct ReportCase {
    const char* name;
    QByteArray report;
    int width;
    int height;
  };
  const ReportCase cases[] = {
      {"both", "<root><width>320</width><height>240</height></root>", 320, 240},
      {"with declaration and layout",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<root>\r\n  <width>640</width>\r\n"
       "  <height>480</height>\r\n</root>\r\n",
       640, 480},
      {"width only", "<root><width>320</width></root>", 320, 0},
      {"trailing letters and blanks", "<root><width>320px</width><height>  +240 x</height></root>",
       320, 240},
      {"empty and signed", "<root><width></width><height>-12</height></root>", 0, -12},
      {"no digits", "<root><width>px</width><height>-</height></root>", 0, 0},
      {"beyond int", "<root><width>99999999999</width><height>1</height></root>", 2147483647, 1},
      {"not well-formed", "<root><width>320</width><height>240</root>", 0, 0},
      {"another root", "<size><width>320</width><height>240</height></size>", 0, 0},
      {"not xml at all", "320x240", 0, 0},
  };
  const QString flv = Path("clip.flv");
  Write(flv, "FLV");
  for (const ReportCase& c : cases) {
    SCOPED_TRACE(c.name);
    Write(Path("clip.xml"), c.report);
    const encode::FrameSize size = encode::ReadFlvFrameSize(flv);
    EXPECT_EQ(size.width, c.width);
    EXPECT_EQ(size.height, c.height);
    EXPECT_FALSE(QFile::exists(Path("clip.xml")));
    EXPECT_TRUE(QFile::exists(flv));
  }
}

TEST_F(ReadFlvFrameSizeTest, FindsTheReportOfNamesWithSeveralDots) {
  Write(Path("my.flv.xml"), "<root><width>176</width><height>144</height></root>");
  const encode::FrameSize size = encode::ReadFlvFrameSize(Path("my.flv.old"));
  EXPECT_EQ(size.width, 176);
  EXPECT_EQ(size.height, 144);
  EXPECT_FALSE(QFile::exists(Path("my.flv.xml")));

  Write(Path("clip.xml"), "<root><width>8</width><height>6</height></root>");
  EXPECT_EQ(encode::ReadFlvFrameSize(Path("clip")).width, 8);
}

TEST_F(ReadFlvFrameSizeTest, WithoutReportGivesNothingAndDeletesNothing) {
  Write(Path("clip.flv"), "FLV");
  const encode::FrameSize size = encode::ReadFlvFrameSize(Path("clip.flv"));
  EXPECT_EQ(size.width, 0);
  EXPECT_EQ(size.height, 0);
  EXPECT_EQ(QDir(temp_.path()).entryList(QDir::Files), QStringList{"clip.flv"});
}

TEST(RunMetadataToolTest, RunsTheToolInTheProgramFolderWithTheFlvAsOneArgument) {
  QTemporaryDir program_folder;
  ASSERT_TRUE(program_folder.isValid());
  ASSERT_TRUE(test_support::PlaceStandIn(program_folder.filePath("metastamp")));
  const QString folder = QFileInfo(program_folder.path()).canonicalFilePath();
  const QString flv = "/out/my \"first\" clip.flv";

  encode::RunMetadataTool(program_folder.path(), flv, false);
  EXPECT_EQ(test_support::StandInRecord(program_folder.path()), (QStringList{folder, flv}));

  encode::RunMetadataTool(program_folder.path(), flv, true);
  EXPECT_EQ(test_support::StandInRecord(program_folder.path()), (QStringList{folder, flv, "/x"}));
}

TEST(RunMetadataToolTest, MissingToolReturnsSilently) {
  QTemporaryDir program_folder;
  ASSERT_TRUE(program_folder.isValid());
  encode::RunMetadataTool(program_folder.path(), "/out/clip.flv", true);
  EXPECT_TRUE(QDir(program_folder.path()).isEmpty());
}

}  // namespace
