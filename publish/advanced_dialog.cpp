#include "publish/advanced_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPainter>

#include "res/bitmaps.h"
#include "res/resource.h"
#include "ui/dialog_font.h"
#include "ui/skin_button.h"

namespace {

// The client area is the size of the background bitmap, which has its title band at the top.
const QSize kClientSize(371, 220);

struct RowTemplate {
  int check_id;
  const char* check_name;
  const char* caption;
  int url_id;
  const char* url_name;
  const char* url_accessible_name;
  int top;
};

constexpr RowTemplate kRows[] = {
    {IDC_USE_PLAYERS_URL, "IDC_USE_PLAYERS_URL", "Use External FLV Player URL:", IDC_PLAYERS_URL,
     "IDC_PLAYERS_URL", "External FLV Player URL", 56},
    {IDC_USE_VIDEOS_URL, "IDC_USE_VIDEOS_URL", "Use External FLV File URL:", IDC_VIDEOS_URL,
     "IDC_VIDEOS_URL", "External FLV File URL", 100},
    {IDC_USE_JS_URL, "IDC_USE_JS_URL", "Use External JavaScript file:", IDC_JS_URL, "IDC_JS_URL",
     "External JavaScript file", 144},
};

}  // namespace

AdvancedDlg::AdvancedDlg(QWidget* owner, store::ExternalUrlOption& players_url,
                         store::ExternalUrlOption& videos_url, store::ExternalUrlOption& js_url)
    : QDialog(owner) {
  setObjectName(QStringLiteral("IDD_ADVANCED_OPTIONS"));
  setWindowTitle(QStringLiteral("Advanced Options"));
  store::ExternalUrlOption* options[] = {&players_url, &videos_url, &js_url};
  for (int i = 0; i < 3; ++i) {
    const RowTemplate& t = kRows[i];
    auto* check = new QCheckBox(QString::fromUtf8(t.caption), this);
    check->setObjectName(t.check_name);
    check->setAccessibleName(QString::fromUtf8(t.caption));
    check->setGeometry(14, t.top, 340, 18);
    auto* url = new QLineEdit(this);
    url->setObjectName(t.url_name);
    url->setAccessibleName(t.url_accessible_name);
    url->setGeometry(32, t.top + 19, 325, 22);
    connect(check, &QCheckBox::clicked, url, &QLineEdit::setEnabled);
    rows_[i] = {options[i], check, url};
  }
  auto* ok = new CSkinButton(this);
  ok->setObjectName(QStringLiteral("IDOK"));
  ok->setAccessibleName(QStringLiteral("OK"));
  ok->setText(QStringLiteral("OK"));
  ok->move(202, 190);
  auto* cancel = new CSkinButton(this);
  cancel->setObjectName(QStringLiteral("IDCANCEL"));
  cancel->setAccessibleName(QStringLiteral("Cancel"));
  cancel->setText(QStringLiteral("Cancel"));
  cancel->move(284, 190);
  connect(ok, &QAbstractButton::clicked, this, &AdvancedDlg::accept);
  connect(cancel, &QAbstractButton::clicked, this, &AdvancedDlg::reject);
  ok->SetBitmaps(IDB_OK, IDB_OK_PRESSED, IDB_OK_HOVER, -1);
  cancel->SetBitmaps(IDB_CANCEL, IDB_CANCEL_PRESSED, IDB_CANCEL_HOVER, -1);
  setFixedSize(kClientSize);
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
}

void AdvancedDlg::accept() {
  // Stored as typed: nothing checks an address.
  for (const Row& row : rows_) row.option->Set(row.check->isChecked(), row.url->text());
  QDialog::accept();
}

void AdvancedDlg::paintEvent(QPaintEvent*) {
  QPainter(this).drawImage(QPoint(0, 0), LoadBitmapResource(IDB_ADVANCED_BACKGROUND));
}
