#include "publish/advanced_dialog.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <utility>

#include "res/advanced_template.h"
#include "res/bitmaps.h"
#include "res/resource.h"
#include "ui/control_factory.h"
#include "ui/dialog_font.h"
#include "ui/skin_palette.h"
#include "ui/skin_button.h"

namespace {

// Each option's check box and text box in the template, in the order player, video, script.
constexpr std::pair<int, int> kRowIds[] = {
    {IDC_USE_PLAYERS_URL, IDC_PLAYERS_URL},
    {IDC_USE_VIDEOS_URL, IDC_VIDEOS_URL},
    {IDC_USE_JS_URL, IDC_JS_URL},
};

}  // namespace

AdvancedDlg::AdvancedDlg(QWidget* owner, store::ExternalUrlOption& players_url,
                         store::ExternalUrlOption& videos_url, store::ExternalUrlOption& js_url,
                         bool& publish_mp4)
    : QDialog(owner), publish_mp4_(&publish_mp4) {
  const DialogTemplate& layout = AdvancedOptionsTemplate();
  setObjectName(QStringLiteral("IDD_ADVANCED_OPTIONS"));
  setWindowTitle(layout.caption);
  ApplySkinPalette(this);
  controls_ = CreateTemplateControls(layout, this);
  store::ExternalUrlOption* options[] = {&players_url, &videos_url, &js_url};
  for (int i = 0; i < 3; ++i) {
    auto* check = qobject_cast<QCheckBox*>(controls_.value(kRowIds[i].first));
    auto* url = qobject_cast<QLineEdit*>(controls_.value(kRowIds[i].second));
    connect(check, &QCheckBox::clicked, url, &QLineEdit::setEnabled);
    rows_[i] = {options[i], check, url};
  }
  publish_mp4_check_ = qobject_cast<QCheckBox*>(controls_.value(IDC_PUBLISH_MP4));
  auto* ok = static_cast<CSkinButton*>(controls_.value(IDOK));
  auto* cancel = static_cast<CSkinButton*>(controls_.value(IDCANCEL));
  connect(ok, &QAbstractButton::clicked, this, &AdvancedDlg::accept);
  connect(cancel, &QAbstractButton::clicked, this, &AdvancedDlg::reject);
  ok->SetBitmaps(IDB_OK, IDB_OK_PRESSED, IDB_OK_HOVER, -1);
  cancel->SetBitmaps(IDB_CANCEL, IDB_CANCEL_PRESSED, IDB_CANCEL_HOVER, -1);
  setFixedSize(layout.client);
}

int AdvancedDlg::DoModal() {
  Create(ScreenDpi(parentWidget()));
  return exec();
}

void AdvancedDlg::Create(double dpi) {
  ApplyDialogFont(this, dpi);
  for (const Row& row : rows_) {
    row.url->setText(row.option->url());
    row.check->setChecked(row.option->enabled());
    row.url->setEnabled(row.option->enabled());
  }
  publish_mp4_check_->setChecked(*publish_mp4_);
}

void AdvancedDlg::accept() {
  // Stored as typed: nothing checks an address.
  for (const Row& row : rows_) row.option->Set(row.check->isChecked(), row.url->text());
  *publish_mp4_ = publish_mp4_check_->isChecked();
  QDialog::accept();
}

void AdvancedDlg::keyPressEvent(QKeyEvent* event) {
  // Enter is OK wherever the focus is, as with a default button; the skinned OK button is not
  // a push button Qt would press for it.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void AdvancedDlg::paintEvent(QPaintEvent*) {
  QPainter(this).drawImage(QPoint(0, 0), LoadBitmapResource(IDB_ADVANCED_BACKGROUND));
}
