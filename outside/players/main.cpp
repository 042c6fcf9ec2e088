// reelwright_players: writes every player we ship into a folder.
//
//   reelwright_players --fonts DIR OUT   OUT/<stem>.swf, OUT/<stem>.jpg and the size file of
//                                        each skin; OUT/player.swf and its size file, without
//                                        a picture
//
// The build runs it into the program's resources folder; the output depends only on this
// program and the fonts, so every run gives the same bytes.
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <cstdio>

#include "outside/players/player_program.h"
#include "outside/players/player_skin.h"
#include "outside/players/size_file.h"
#include "outside/players/skin_picture.h"

namespace {

int Fail(const QString& reason) {
  std::fprintf(stderr, "reelwright_players: %s\n", qPrintable(reason));
  return 1;
}

bool WriteFile(const QString& path, const std::string& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
             static_cast<qint64>(bytes.size());
}

// The player and its size file; 0 when both were written.
int WritePlayer(const QDir& out, const players::PlayerSkin& skin) {
  const QString swf = out.filePath(QString::fromStdString(skin.file_stem) + ".swf");
  if (!WriteFile(swf, players::BuildPlayer(skin))) return Fail("cannot write " + swf);
  const QString ini = out.filePath(QString::fromStdString(players::SizeFileName(skin)));
  if (!WriteFile(ini, players::SizeFileText(skin))) return Fail("cannot write " + ini);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() != 3 || args[0] != "--fonts")
    return Fail("usage: reelwright_players --fonts DIR OUTPUT_FOLDER");
  // The pictures' text is drawn with the font we name, never with a stand-in.
  const QString font = args[1] + "/DejaVuSans.ttf";
  if (QFontDatabase::addApplicationFont(font) < 0) return Fail("cannot load the font " + font);
  QDir out(args[2]);
  if (!out.mkpath(".")) return Fail("cannot make " + args[2]);

  for (const players::PlayerSkin& skin : players::ShippedSkins()) {
    if (const int failed = WritePlayer(out, skin)) return failed;
    const QString jpg = out.filePath(QString::fromStdString(skin.file_stem) + ".jpg");
    if (!players::DrawSkinPicture(skin).save(jpg, "JPG", 92)) return Fail("cannot write " + jpg);
  }
  if (const int failed = WritePlayer(out, players::FallbackPlayer())) return failed;
  // A picture beside the fallback, left by an older build, would list it among the skins.
  QFile::remove(out.filePath(QString::fromStdString(players::FallbackPlayer().file_stem) + ".jpg"));
  return 0;
}
