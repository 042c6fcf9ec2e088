#include "app/new_preset_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "res/resource.h"
#include "ui/dialog_font.h"
#include "ui/text_field.h"

CNewPresetDialog::CNewPresetDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("IDD_NEW_PRESET"));
  setWindowTitle(QStringLiteral("New Preset"));
  ApplyDialogFont(this, ScreenDpi(parent));

  auto* prompt = new QLabel(QStringLiteral("Please enter name for preset:"), this);
  prompt->setObjectName(QStringLiteral("IDC_PRESET_NAME_PROMPT"));
  name_edit_ = new CTextField(this);
  name_edit_->setObjectName(QStringLiteral("IDC_PRESET_NAME"));
  name_edit_->setAccessibleName(QStringLiteral("Preset Name"));
  // A preset name holds at most 249 characters.
  name_edit_->setMaxLength(249);
  prompt->setBuddy(name_edit_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("IDOK"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("IDCANCEL"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addWidget(name_edit_);
  layout->addWidget(buttons);
  setFixedSize(320, sizeHint().height());
}

QString CNewPresetDialog::name() const {
  return name_edit_->text();
}
