#include "encode/encode_video_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPainter>

#include "encode/codec_query.h"
#include "encode/video_conversion.h"
#include "platform/prompter.h"
#include "res/bitmaps.h"
#include "res/convert_template.h"
#include "res/resource.h"
#include "ui/control_factory.h"
#include "ui/dialog_font.h"
#include "ui/skin_palette.h"
#include "ui/skin_button.h"
#include "ui/skin_progress.h"

namespace {

const char kCannotCreate[] = "Can't create VideoFile control";

}  // namespace

CEncodeVideoDialog::CEncodeVideoDialog(const QString& input_path, QWidget* parent,
                                       videofile::VideoFileFactory factory)
    : QDialog(parent), input_path_(input_path), factory_(std::move(factory)) {
  if (!factory_) factory_ = [](std::string_view id) { return videofile::CreateVideoFile(id); };
  const DialogTemplate& t = ConvertVideoTemplate();
  setObjectName(QStringLiteral("IDD_CONVERT_VIDEO"));
  setWindowTitle(t.caption);
  setFixedSize(t.client);
  ApplySkinPalette(this);
  controls_ = CreateTemplateControls(t, this);
  for (int hidden : {IDC_ENCODE_HINT, IDC_DELETE_TEMPORARY, IDC_DELETE_NOTE, IDC_ENCODE})
    Control(hidden)->hide();
  connect(qobject_cast<QAbstractButton*>(Control(IDC_CONVERT)), &QAbstractButton::clicked, this,
          &CEncodeVideoDialog::OnConvert);
  connect(qobject_cast<QAbstractButton*>(Control(IDC_ENCODE)), &QAbstractButton::clicked, this,
          &CEncodeVideoDialog::OnEncode);
  connect(qobject_cast<QAbstractButton*>(Control(IDCANCEL)), &QAbstractButton::clicked, this,
          &CEncodeVideoDialog::reject);
}

CEncodeVideoDialog::~CEncodeVideoDialog() = default;

int CEncodeVideoDialog::DoModal() {
  if (!Create(ScreenDpi(parentWidget()))) return QDialog::Rejected;
  return exec();
}

bool CEncodeVideoDialog::Create(double dpi) {
  ApplyDialogFont(this, dpi);
  return OnInitDialog();
}

bool CEncodeVideoDialog::OnInitDialog() {
  reader_ = factory_(videofile::kVideoFileClassId);
  writer_ = factory_(videofile::kVideoFileClassId);
  if (!reader_ || !writer_) {
    // Ending the program here would lose the user's unsaved job: the conversion is simply not
    // available, and the main window carries on.
    platform::ShowProgramMessage(parentWidget(), kCannotCreate);
    return false;
  }
  static_cast<CSkinButton*>(Control(IDC_CONVERT))
      ->SetBitmaps(IDB_CONVERT, IDB_CONVERT_PRESSED, IDB_CONVERT_HOVER, IDB_CONVERT_DISABLED);
  static_cast<CSkinButton*>(Control(IDCANCEL))
      ->SetBitmaps(IDB_CANCEL, IDB_CANCEL_PRESSED, IDB_CANCEL_HOVER, -1);
  static_cast<CSkinButton*>(Control(IDC_ENCODE))
      ->SetBitmaps(IDB_ENCODE, IDB_ENCODE_PRESSED, IDB_ENCODE_HOVER, -1);
  static_cast<CSkinProgress*>(Control(IDC_CONVERT_PROGRESS))->setValue(0);
  delete_choice_ = false;
  return true;
}

void CEncodeVideoDialog::OnConvert() {
  // One conversion per dialog, whatever its outcome.
  Control(IDC_CONVERT)->setEnabled(false);
  auto* progress = static_cast<CSkinProgress*>(Control(IDC_CONVERT_PROGRESS));

  converting_ = true;
  stop_requested_ = false;
  EnableAllButCancel(false);
  encode::ConversionHooks hooks;
  hooks.set_progress = [progress](int percent) { progress->setValue(percent); };
  hooks.dispatch_events = [] { QCoreApplication::processEvents(); };
  hooks.stop_requested = [this] { return stop_requested_; };
  hooks.describe_codec = [](const QString& path) { return encode::DescribeVideoCodec(path); };
  const encode::ConversionResult result =
      encode::ConvertToTemporaryAvi(*reader_, *writer_, input_path_, hooks);
  converting_ = false;
  EnableAllButCancel(true);
  if (result.stopped) {
    // The temporary file is gone; the dialog ends as Cancel ends it.
    QDialog::reject();
    return;
  }

  if (!result.converted_path.isEmpty()) converted_path_ = result.converted_path;
  if (!result.succeeded) {
    platform::ShowProgramMessage(this, result.message);
    return;
  }
  for (int id : {IDC_ENCODE, IDC_ENCODE_HINT, IDC_DELETE_NOTE, IDC_DELETE_TEMPORARY})
    Control(id)->show();
}

void CEncodeVideoDialog::EnableAllButCancel(bool on) {
  for (auto it = controls_.cbegin(); it != controls_.cend(); ++it)
    if (it.key() != IDCANCEL && it.key() != IDC_CONVERT) it.value()->setEnabled(on);
}

void CEncodeVideoDialog::OnEncode() {
  delete_choice_ = static_cast<QCheckBox*>(Control(IDC_DELETE_TEMPORARY))->isChecked();
  accept();
}

void CEncodeVideoDialog::reject() {
  // Cancel, Escape and the close box stop a conversion under way; the dialog closes once it
  // has stopped and removed its file.
  if (converting_)
    stop_requested_ = true;
  else
    QDialog::reject();
}

void CEncodeVideoDialog::paintEvent(QPaintEvent*) {
  QPainter(this).drawImage(QPoint(0, 0), LoadBitmapResource(IDB_CONVERT_BACKGROUND));
}
