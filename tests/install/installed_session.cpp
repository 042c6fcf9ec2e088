// One session of a user with the installed program, driven without a person: the real main
// window on the program folder it is given, left as a user leaves it, so that the process ends
// exactly as a user's does. installed_package_test.sh runs it as an ordinary user.
//
//   installed_session PROGRAM_FOLDER settings AFFILIATE_ID
//       prints what start-up read (Affiliate ID, preset names), types AFFILIATE_ID, leaves
//       through the Exit button
//   installed_session PROGRAM_FOLDER encode INPUT OUTPUT_FOLDER exit-button|close-box
//       encodes INPUT at 640x480, prints what it saw of the run, leaves the way it is told
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

#include "app/main_dialog.h"
#include "ui/skin_progress.h"
#include "encode/encoding_run.h"
#include "platform/program_folder.h"
#include "platform/scripted_prompter.h"
#include "platform/user_files.h"
#include "res/resource.h"

namespace {

void Print(const QString& line) {
  std::printf("%s\n", qPrintable(line));
  std::fflush(stdout);
}

void Pick(QComboBox* list, const QString& text) {
  list->setCurrentIndex(list->findText(text));
}

// Starts the encoding and watches it until it ends: the bar, and the progress file in the
// encoder's working folder, which must only ever grow while this program's run goes on.
void Encode(CMainDialog& dialog, const QString& input, const QString& output_folder) {
  ProjectSettings& s = dialog.settings();
  s.input_video->setText(input);
  s.output_folder->setText(output_folder);
  s.output_video->setText("movie");
  dialog.EnableEncodingControls(true);
  Pick(s.resolution, "640x480");
  Pick(s.frame_rate, "30");
  Pick(s.video_bitrate, "1600");
  dialog.GoToPage(2);
  bool offered_conversion = false;
  dialog.encoding_run().SetConversionOffer([&](QWidget*, const QString&) {
    offered_conversion = true;
    return encode::ConversionChoice{};
  });

  const qint64 start = QDateTime::currentMSecsSinceEpoch();
  QTest::mouseClick(dialog.Control(IDC_START_ENCODING), Qt::LeftButton);
  const QString working_folder = platform::EncoderWorkingFolder();
  const QFileInfo stat(working_folder + "/stat");
  int bar_seen = 0;
  qint64 stat_seen = -1;
  bool stat_went_back = false;
  while (dialog.encoding_run().running()) {
    QApplication::processEvents();
    const int bar = dialog.EncodingProgress()->value();
    if (bar > 0 && bar < 100) bar_seen = qMax(bar_seen, bar);
    QFileInfo now(stat);
    now.refresh();
    if (now.exists()) {
      if (now.size() < stat_seen) stat_went_back = true;
      stat_seen = qMax(stat_seen, now.size());
    }
    QTest::qWait(5);
  }
  const qint64 end = QDateTime::currentMSecsSinceEpoch();
  Print("working-folder: " + working_folder);
  Print(QStringLiteral("run: %1 %2").arg(start).arg(end));
  Print(QStringLiteral("bar-seen: %1").arg(bar_seen));
  Print(QStringLiteral("stat-seen: %1").arg(stat_seen));
  Print(QStringLiteral("stat-went-back: %1").arg(stat_went_back ? 1 : 0));
  Print(QStringLiteral("encoded: %1").arg(dialog.State().encoded ? 1 : 0));
  Print(QStringLiteral("conversion-offered: %1").arg(offered_conversion ? 1 : 0));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments().mid(1);
  const bool settings = args.size() == 3 && args[1] == "settings";
  const bool encode = args.size() == 5 && args[1] == "encode" &&
                      (args[4] == "exit-button" || args[4] == "close-box");
  if (!settings && !encode) {
    std::fputs(
        "usage: installed_session PROGRAM_FOLDER settings AFFILIATE_ID\n"
        "       installed_session PROGRAM_FOLDER encode INPUT OUTPUT_FOLDER "
        "exit-button|close-box\n",
        stderr);
    return 2;
  }
  platform::OverrideProgramFolder(args[0]);
  platform::ScriptedPrompter prompter;
  prompter.QueueAnswer(platform::Answer::No);  // do not save the job as a project when leaving

  CMainDialog dialog;
  dialog.Create(96);
  dialog.show();
  if (settings) {
    Print("affiliate: " + dialog.settings().affiliate_id->text());
    QStringList presets;
    for (int row = 0; row < dialog.settings().preset->count(); ++row)
      presets << dialog.settings().preset->itemText(row);
    Print("presets: " + presets.join(','));
    dialog.settings().affiliate_id->setText(args[2]);
  } else {
    Encode(dialog, args[2], args[3]);
    if (args[4] == "close-box") {
      // The close box ends the modal loop, and with it the program, which returns from main.
      dialog.close();
      if (!dialog.isVisible()) return 0;
      std::fputs("installed_session: the close box did not close the window\n", stderr);
      return 1;
    }
  }
  // The Exit button writes the settings and ends the process; coming back means it did not.
  QTest::mouseClick(dialog.Control(IDC_EXIT), Qt::LeftButton);
  std::fputs("installed_session: the Exit button did not end the program\n", stderr);
  return 1;
}
