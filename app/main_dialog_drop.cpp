// A file dropped onto the window: a video does what Browse beside Input Video does, an FLV
// what Browse beside Input FLV does, a project what Open does.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>

#include "app/main_dialog.h"
#include "encode/encoding_run.h"
#include "encode/input_selection.h"
#include "platform/picker_start.h"

namespace {

// The one local file dragged, when it is of a kind the window takes; else empty.
QString DroppedFile(const QMimeData* data) {
  if (!data || data->urls().size() != 1 || !data->urls().constFirst().isLocalFile()) return {};
  const QString path = data->urls().constFirst().toLocalFile();
  static const QStringList kKinds = {"avi", "mpg", "mpeg", "wmv", "flv", "reel"};
  if (!kKinds.contains(QFileInfo(path).suffix().toLower()) || !QFileInfo(path).isFile()) return {};
  return path;
}

}  // namespace

void CMainDialog::AcceptDroppedFiles() {
  setAcceptDrops(true);
  // An edit would take the file's address as text: the whole window takes the file instead.
  for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->setAcceptDrops(false);
}

void CMainDialog::dragEnterEvent(QDragEnterEvent* event) {
  // While a run goes, the window takes nothing but Stop Encoding.
  if (!encoding_run_->running() && !DroppedFile(event->mimeData()).isEmpty())
    event->acceptProposedAction();
}

void CMainDialog::dropEvent(QDropEvent* event) {
  const QString path = DroppedFile(event->mimeData());
  if (path.isEmpty() || encoding_run_->running()) return;
  event->acceptProposedAction();
  platform::RememberPickerChoice(path);
  const QString kind = QFileInfo(path).suffix().toLower();
  if (kind == "reel") {
    OpenProject(QDir::toNativeSeparators(path));
    return;
  }
  const QString folder = settings_.output_folder->text();
  const QString page = settings_.output_html->text();
  ApplyInputSelection(kind == "flv" ? encode::SelectFlv(path, folder, page)
                                    : encode::SelectMovie(path, folder, page));
}
