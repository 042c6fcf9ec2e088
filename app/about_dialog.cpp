#include "app/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "res/bitmaps.h"
#include "res/dialog_template.h"
#include "res/resource.h"
#include "ui/dialog_font.h"

namespace {

const char kCaption[] = "About Reelwright";
const char kVersionText[] = "Reelwright Version 1.04";
const char kAboutLine[] = "Your video on a web page in three steps.";
// The licence, and the parts that ship with the program under theirs.
const char kCredits[] =
    "Free software under the GNU General Public License, version 3 or later. "
    "Built with Qt (LGPL-3.0), the FFmpeg libraries (GPL-2.0 or later), the MediaInfo "
    "library (BSD-2-Clause) and TinyXML-2 (zlib); pages play with Ruffle (MIT or Apache-2.0).";

// Template 196, in dialog units, and below it the credits.
const QSize kDialogUnits(252, 88);
const QRect kIconUnits(11, 14, 21, 20);
const QRect kVersionUnits(40, 12, 145, 10);
const QRect kAboutLineUnits(40, 27, 205, 10);  // below the OK button: the full width
const QRect kOkUnits(195, 7, 50, 14);
const QRect kCreditsUnits(40, 42, 205, 40);
constexpr int kIconPixels = 32;

}  // namespace

CAboutDialog::CAboutDialog(QWidget* owner, double dpi) : QDialog(owner) {
  setObjectName("IDD_ABOUT");
  setWindowTitle(kCaption);
  ApplyDialogFont(this, dpi);
  setFixedSize(DialogUnitsToPixels(QRect(QPoint(0, 0), kDialogUnits)).size());

  auto* icon = new QLabel(this);
  icon->setObjectName("IDR_MAINFRAME");
  icon->setGeometry(DialogUnitsToPixels(kIconUnits));
  icon->setPixmap(LoadProgramIcon().pixmap(kIconPixels, kIconPixels));

  version_ = new QLabel(this);
  version_->setObjectName("IDC_VERSION");
  version_->setGeometry(DialogUnitsToPixels(kVersionUnits));

  auto* line = new QLabel(kAboutLine, this);
  line->setObjectName("IDC_ABOUT_LINE");
  line->setGeometry(DialogUnitsToPixels(kAboutLineUnits));

  auto* credits = new QLabel(kCredits, this);
  credits->setObjectName("IDC_CREDITS");
  credits->setWordWrap(true);
  credits->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  credits->setGeometry(DialogUnitsToPixels(kCreditsUnits));

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("IDOK");
  ok->setGeometry(DialogUnitsToPixels(kOkUnits));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  // What the dialog does when it opens: the version label takes the version.
  version_->setText(kVersionText);
}

void ShowAbout(QWidget* owner) {
  CAboutDialog dialog(owner, ScreenDpi(owner));
  dialog.exec();
}
