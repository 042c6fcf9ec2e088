#include "encode/input_selection.h"

#include <QDir>

namespace encode {

namespace {

QString BaseName(const QString& file_name) {
  const qsizetype dot = file_name.lastIndexOf('.');
  return dot < 0 ? file_name : file_name.left(dot);
}

// The fields after choosing a movie (to encode) or an FLV (published as it is).
InputSelection Select(bool movie, const QString& chosen_path, const QString& output_folder,
                      const QString& output_html) {
  InputSelection selection;
  selection.output_folder = output_folder;
  selection.output_html = output_html;
  const QString path = QDir::toNativeSeparators(chosen_path);
  const QChar separator = QDir::separator();
  const qsizetype last = path.lastIndexOf(separator);
  if (last >= 0) {
    QString folder = path.left(last);
    // A file in a root folder ("/clip.avi", "C:\clip.avi") keeps the root's separator.
    if (!folder.contains(separator)) folder += separator;
    selection.output_folder = folder;
    if (output_html.trimmed().isEmpty()) selection.output_html = "index.html";
  }
  const QString file_name = path.mid(last + 1);

  (movie ? selection.input_video : selection.input_flv) = path;
  selection.output_video = movie ? BaseName(file_name) + ".flv" : file_name;
  selection.which_file = movie ? 1 : 2;
  selection.encoding_enabled = movie;
  return selection;
}

}  // namespace

QList<platform::FileFilter> MovieFileFilters() {
  return {
      // All three kinds at once come first: the dialog opens showing every video.
      {"All Videos (*.avi;*.mpg;*.mpeg;*.wmv)", "*.avi;*.mpg;*.mpeg;*.wmv"},
      {"Video for Windows (*.avi)", "*.avi"},
      {"MPEG Movie (*.mpg;*.mpeg)", "*.mpg;*.mpeg"},
      {"Windows Media Video (*.wmv)", "*.wmv"},
  };
}

QList<platform::FileFilter> FlvFileFilters() {
  return {{"Flash Video (*.flv)", "*.flv"}};
}

InputSelection SelectMovie(const QString& chosen_path, const QString& output_folder,
                           const QString& output_html) {
  return Select(true, chosen_path, output_folder, output_html);
}

InputSelection SelectFlv(const QString& chosen_path, const QString& output_folder,
                         const QString& output_html) {
  return Select(false, chosen_path, output_folder, output_html);
}

}  // namespace encode
