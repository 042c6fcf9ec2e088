#include "store/profile_file.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "store_test_files.h"

namespace store {
namespace {

// A file as people leave them: CR LF and LF mixed, lines before the first section, junk and
// blank lines, sections and keys in other letter cases, duplicates, quotes and blanks.
const QByteArray kMessyFile =
    "orphan=before any section\r\n"
    "; a comment\r\n"
    "[Autosave]\r\n"
    "  DisableIButton  =  0  \r\n"
    "junk line without equals\n"
    "\r\n"
    "[playersurl]\n"
    "enabled=1\n"
    "URL=\"http://quoted/\"\n"
    "Single='x'\n"
    "Mismatched=\"x'\n"
    "Lone=\"\n"
    "Inner=a \"b\" c\n"
    "[ PLAYERSURL ]\n"
    "URL=second section is never read\n"
    "[Option0]\n"
    "name=first\n"
    "NAME=second key is never read\n"
    "broken [section\n"
    "[Tail]\r\n"
    "last=no line end";

TEST(ProfileFileTest, ReadsValuesAsTheSettingsFileWasMeantToBeRead) {
  const ProfileFile profile = ProfileFile::FromBytes(kMessyFile);
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"Autosave", "DisableIButton", "0"},      // blanks around key and value
      {"AUTOSAVE", "disableibutton", "0"},      // no regard to case
      {"PlayersUrl", "URL", "http://quoted/"},  // quotes around the whole value go
      {"PLAYERSURL", "Single", "x"},            // single quotes too
      {"PLAYERSURL", "Mismatched", "\"x'"},     // not a matching pair
      {"PLAYERSURL", "Lone", "\""},             // one quote is no pair
      {"PLAYERSURL", "Inner", "a \"b\" c"},     // quotes inside stay
      {"Option0", "name", "first"},             // the first of two keys
      {"Tail", "last", "no line end"},          // last line without its line end
      {"Autosave", "orphan", "<default>"},      // lines before any section belong to none
      {"Autosave", "junk line without equals", "<default>"},
      {"Missing", "URL", "<default>"},
      {"Option0", "broken [section", "<default>"},  // a broken header is no section
  };
  for (const Case& c : cases) {
    EXPECT_EQ(profile.ReadString(c.section, c.key, "<default>", 260), QString(c.expected))
        << c.section << "/" << c.key;
  }
}

TEST(ProfileFileTest, TextReadsHonourTheBufferSize) {
  const QString long_value(400, u'u');
  const ProfileFile profile = ProfileFile::FromBytes("[S]\nkey=" + long_value.toUtf8() + "\n");
  EXPECT_EQ(profile.ReadString("S", "key", "", 260).size(), 259);
  EXPECT_EQ(profile.ReadString("S", "key", "", 250).size(), 249);
  EXPECT_EQ(profile.ReadString("S", "missing", long_value, 260).size(), 259);
  EXPECT_EQ(profile.ReadString("S", "key", "", 1), "");

  // A character outside the basic plane is never cut in half.
  const QString wide = QString(258, u'a') + QString::fromUcs4(U"\U0001F3AC");
  const ProfileFile wide_profile = ProfileFile::FromBytes("[S]\nkey=" + wide.toUtf8() + "\n");
  EXPECT_EQ(wide_profile.ReadString("S", "key", "", 260), QString(258, u'a'));
}

TEST(ProfileFileTest, IntegerReadsTakeTheLeadingNumber) {
  const ProfileFile profile = ProfileFile::FromBytes(
      "[N]\nplain=42\nspaced=   7  \nsigned=-12\nplus=+5\ntrailing=3abc\nletters=abc\n"
      "empty=\nquoted=\"9\"\nhuge=99999999999\ntiny=-99999999999\nsign_only=-\n");
  struct Case {
    const char* key;
    int expected;
  };
  const Case cases[] = {
      {"plain", 42},        {"spaced", 7},
      {"signed", -12},      {"plus", 5},
      {"trailing", 3},      {"letters", 0},
      {"empty", 77},        {"quoted", 9},
      {"huge", 2147483647}, {"tiny", -2147483647 - 1},
      {"sign_only", 0},     {"missing", 77},
  };
  for (const Case& c : cases) EXPECT_EQ(profile.ReadInt("N", c.key, 77), c.expected) << c.key;
  EXPECT_EQ(profile.ReadInt("NoSuchSection", "plain", 77), 77);
}

TEST(ProfileFileTest, WritingReplacesInPlaceAndAddsAtTheEnds) {
  ProfileFile profile = ProfileFile::FromBytes(
      "top=1\n[First]\nKey=old\n; keep me\n\n[Second]\na=1\n\n[first]\nkey=duplicate\n");
  profile.WriteString("FIRST", "key", "new");  // the existing key, first section
  profile.WriteString("First", "added", "2");  // a new key of an existing section
  profile.WriteString("Third", "b", "3");      // a new section
  profile.WriteInt("Second", "a", -4);
  EXPECT_EQ(profile.ToBytes(),
            "top=1\r\n[First]\r\nKey=new\r\n; keep me\r\nadded=2\r\n\r\n[Second]\r\na=-4\r\n\r\n"
            "[first]\r\nkey=duplicate\r\n[Third]\r\nb=3\r\n");
  EXPECT_EQ(profile.ReadString("first", "ADDED", "", 260), "2");
}

TEST(ProfileFileTest, AValueCannotAddLinesOfItsOwn) {
  ProfileFile profile;
  profile.WriteString("S", "key", "one\r\n[Injected]\nname=evil");
  const ProfileFile read = ProfileFile::FromBytes(profile.ToBytes());
  EXPECT_EQ(read.ReadString("S", "key", "", 260), "one  [Injected] name=evil");
  EXPECT_EQ(read.ReadString("Injected", "name", "<none>", 260), "<none>");
}

TEST(ProfileFileTest, MissingEmptyAndBinaryFilesReadAsEmpty) {
  QTemporaryDir dir;
  const QString missing = dir.filePath("missing.ini");
  EXPECT_EQ(ProfileFile::Load(missing).ReadInt("Autosave", "DisableIButton", 1), 1);

  const QString empty = dir.filePath("empty.ini");
  store_test::WriteBytes(empty, "");
  EXPECT_EQ(ProfileFile::Load(empty).ToBytes(), "");

  QByteArray binary;
  for (int i = 0; i < 300000; ++i) binary.append(char((i % 256) * 7919 % 256));  // no int overflow
  binary.append("\n[S]\nkey=found\n");
  const ProfileFile profile = ProfileFile::FromBytes(binary);
  EXPECT_EQ(profile.ReadString("S", "key", "", 260), "found");
}

}  // namespace
}  // namespace store
