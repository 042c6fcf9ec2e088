#include "publish/customize_player_dialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QTimerEvent>

#include "publish/player_picture.h"
#include "res/bitmaps.h"
#include "res/customize_player_template.h"
#include "res/resource.h"
#include "ui/control_factory.h"
#include "ui/dialog_font.h"
#include "ui/skin_palette.h"
#include "ui/skin_button.h"

namespace {

// The picture is painted again this long after the dialog opens, once it is on screen.
constexpr int kPreviewDelayMs = 50;

}  // namespace

CCustomizePlayerDialog::CCustomizePlayerDialog(QWidget* owner,
                                               std::vector<publish::PlayerSkin> players,
                                               int which_player, QString program_folder)
    : QDialog(owner),
      players_(std::move(players)),
      selection_(which_player),
      program_folder_(std::move(program_folder)) {
  const DialogTemplate& t = CustomizePlayerTemplate();
  setObjectName(QStringLiteral("IDD_CUSTOMIZE_PLAYER"));
  setWindowTitle(t.caption);
  setAccessibleName(t.caption);
  setFixedSize(t.client);
  ApplySkinPalette(this);
  controls_ = CreateTemplateControls(t, this);
  connect(qobject_cast<QAbstractButton*>(Control(IDOK)), &QAbstractButton::clicked, this,
          &CCustomizePlayerDialog::accept);
  connect(qobject_cast<QAbstractButton*>(Control(IDCANCEL)), &QAbstractButton::clicked, this,
          &CCustomizePlayerDialog::reject);
  connect(list(), &QListWidget::currentRowChanged, this, [this](int row) {
    if (row < 0) return;
    selection_ = row;
    ShowPreview(row);
  });
  connect(list(), &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    selection_ = list()->row(item);
    ShowPreview(selection_);
    QDialog::accept();
  });
}

QListWidget* CCustomizePlayerDialog::list() const {
  return qobject_cast<QListWidget*>(Control(IDC_PLAYER_LIST));
}

QLabel* CCustomizePlayerDialog::picture() const {
  return qobject_cast<QLabel*>(Control(IDC_PLAYER_PICTURE));
}

int CCustomizePlayerDialog::DoModal() {
  Create(ScreenDpi(parentWidget()));
  return exec();
}

void CCustomizePlayerDialog::Create(double dpi) {
  ApplyDialogFont(this, dpi);
  static_cast<CSkinButton*>(Control(IDOK))->SetBitmaps(IDB_OK, IDB_OK_PRESSED, IDB_OK_HOVER, -1);
  static_cast<CSkinButton*>(Control(IDCANCEL))
      ->SetBitmaps(IDB_CANCEL, IDB_CANCEL_PRESSED, IDB_CANCEL_HOVER, -1);
  for (const publish::PlayerSkin& player : players_) list()->addItem(player.display_name);
  if (players_.empty()) {
    selection_ = -1;
    return;
  }
  if (!publish::IsValidPlayerIndex(players_, selection_)) selection_ = 0;
  {
    // Selecting from here is the program's doing, not a change by the user.
    const QSignalBlocker quiet(list());
    list()->setCurrentRow(selection_);
  }
  ShowPreview(selection_);
  preview_timer_ = startTimer(kPreviewDelayMs);
}

void CCustomizePlayerDialog::timerEvent(QTimerEvent* event) {
  if (event->timerId() != preview_timer_) return;
  killTimer(preview_timer_);
  preview_timer_ = 0;
  ShowPreview(list()->currentRow());
}

void CCustomizePlayerDialog::ShowPreview(int index) {
  if (!publish::IsValidPlayerIndex(players_, index)) return;
  publish::ShowPlayerPicture(picture(), program_folder_, players_[static_cast<size_t>(index)]);
}

void CCustomizePlayerDialog::accept() {
  selection_ = list()->currentRow();
  QDialog::accept();
}

void CCustomizePlayerDialog::paintEvent(QPaintEvent*) {
  QPainter(this).drawImage(QPoint(0, 0), LoadBitmapResource(IDB_CUSTOMIZE_BACKGROUND));
}
