#include "encode/input_selection.h"

#include <QDir>

namespace encode {

namespace {

// The chosen path in the platform's form, and its file name.
struct ChosenFile {
  QString path;
  QString file_name;
};

ChosenFile PlaceOutputBeside(const QString& chosen_path, InputSelection& selection) {
  const QString path = QDir::toNativeSeparators(chosen_path);
  const QChar separator = QDir::separator();
  const qsizetype last = path.lastIndexOf(separator);
  if (last < 0) return {path, path};

  QString folder = path.left(last);
  // A file in a root folder ("/clip.avi", "C:\clip.avi") keeps the root's separator.
  if (!folder.contains(separator)) folder += separator;
  selection.output_folder = folder;
  if (selection.output_html.trimmed().isEmpty()) selection.output_html = "index.html";
  return {path, path.mid(last + 1)};
}

QString BaseName(const QString& file_name) {
  const qsizetype dot = file_name.lastIndexOf('.');
  return dot < 0 ? file_name : file_name.left(dot);
}

}  // namespace

QList<platform::FileFilter> MovieFileFilters() {
  return {
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
  InputSelection selection;
  selection.output_folder = output_folder;
  selection.output_html = output_html;
  const ChosenFile chosen = PlaceOutputBeside(chosen_path, selection);
  selection.input_video = chosen.path;
  selection.output_video = BaseName(chosen.file_name) + ".flv";
  selection.which_file = 1;
  selection.encoding_enabled = true;
  return selection;
}

InputSelection SelectFlv(const QString& chosen_path, const QString& output_folder,
                         const QString& output_html) {
  InputSelection selection;
  selection.output_folder = output_folder;
  selection.output_html = output_html;
  const ChosenFile chosen = PlaceOutputBeside(chosen_path, selection);
  selection.input_flv = chosen.path;
  selection.output_video = chosen.file_name;
  selection.which_file = 2;
  selection.encoding_enabled = false;
  return selection;
}

}  // namespace encode
