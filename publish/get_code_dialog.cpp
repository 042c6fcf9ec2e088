#include "publish/get_code_dialog.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QPlainTextEdit>

#include "publish/get_code.h"
#include "res/bitmaps.h"
#include "res/get_code_template.h"
#include "res/resource.h"
#include "ui/control_factory.h"
#include "ui/dialog_font.h"
#include "ui/skin_palette.h"
#include "ui/skin_button.h"

CGetCodeDialog::CGetCodeDialog(QWidget* owner, const QString& code) : QDialog(owner), code_(code) {
  const DialogTemplate& t = GetCodeTemplate();
  setObjectName(QStringLiteral("IDD_GET_CODE"));
  setWindowTitle(t.caption);
  setAccessibleName(t.caption);
  setFixedSize(t.client);
  ApplySkinPalette(this);
  controls_ = CreateTemplateControls(t, this);
  connect(qobject_cast<QAbstractButton*>(Control(IDC_COPY_CODE)), &QAbstractButton::clicked, this,
          &CGetCodeDialog::OnCopyCode);
  connect(qobject_cast<QAbstractButton*>(Control(IDOK)), &QAbstractButton::clicked, this,
          &CGetCodeDialog::accept);
}

QPlainTextEdit* CGetCodeDialog::code_box() const {
  return qobject_cast<QPlainTextEdit*>(Control(IDC_CODE_TEXT));
}

int CGetCodeDialog::DoModal() {
  Create(ScreenDpi(parentWidget()));
  return exec();
}

void CGetCodeDialog::Create(double dpi) {
  ApplyDialogFont(this, dpi);
  static_cast<CSkinButton*>(Control(IDC_COPY_CODE))
      ->SetBitmaps(IDB_COPY, IDB_COPY_PRESSED, IDB_COPY_HOVER, -1);
  auto* tick = static_cast<CSkinButton*>(Control(IDC_COPIED_TICK));
  tick->SetBitmaps(IDB_TICK, -1, -1, -1);
  tick->hide();
  static_cast<CSkinButton*>(Control(IDOK))
      ->SetBitmaps(IDB_CLOSE, IDB_CLOSE_PRESSED, IDB_CLOSE_HOVER, -1);
  // Code reads in the system's fixed-width face, at the size of the dialog's letters.
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSize(DialogFontPointSize(dpi));
  code_box()->setFont(fixed);
  // The box shows the code's lines; its own text is what gets copied.
  code_box()->setPlainText(QString(code_).replace("\r\n", "\n"));
}

void CGetCodeDialog::OnCopyCode() {
  const QString shown = code_box()->toPlainText();
  // The box shows line breaks; the clipboard receives them as the code has them, all of it:
  // code cut anywhere would break the page it is pasted into.
  QGuiApplication::clipboard()->setText(QString(shown).replace("\n", "\r\n"));
  Control(IDC_COPIED_TICK)->show();
}

void CGetCodeDialog::paintEvent(QPaintEvent*) {
  QPainter(this).drawImage(QPoint(0, 0), LoadBitmapResource(IDB_GET_CODE_BACKGROUND));
}
