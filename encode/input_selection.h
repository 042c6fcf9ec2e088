// What choosing the job's input does to the page-1 fields: Browse beside Input Video picks a
// movie to encode, Browse beside Input FLV an FLV that is published as it is. Both put the
// output beside the chosen file.
#pragma once

#include <QList>
#include <QString>

#include "platform/prompter.h"

namespace encode {

inline const char kMovieDialogTitle[] = "Browse for Movie File";
inline const char kFlvDialogTitle[] = "Browse for Flash Movie";

// The filter rows of the two open-file dialogs, the first row shown first.
QList<platform::FileFilter> MovieFileFilters();
QList<platform::FileFilter> FlvFileFilters();

// The page-1 fields after a choice. The window writes every text back into its field, sets
// which_file and enables (movie) or disables (FLV) the encoding controls.
struct InputSelection {
  QString input_video;
  QString input_flv;
  QString output_folder;
  QString output_video;
  QString output_html;
  int which_file = 0;  // 1 a movie was chosen, 2 an FLV
  bool encoding_enabled = false;
};

// After a movie was chosen: the output folder becomes the movie's folder (a bare root keeps
// its separator), the output name the movie's base name with ".flv", the page name
// "index.html" when it is blank; the FLV input is emptied. `output_folder` and `output_html`
// are the fields' current texts.
InputSelection SelectMovie(const QString& chosen_path, const QString& output_folder,
                           const QString& output_html);

// After an FLV was chosen: as for a movie, but the output name is the FLV's own file name and
// the video input is emptied.
InputSelection SelectFlv(const QString& chosen_path, const QString& output_folder,
                         const QString& output_html);

}  // namespace encode
