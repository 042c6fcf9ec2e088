// The two Browse buttons of page 1 that choose the job's input: a movie to encode (1008) or an
// existing FLV to publish as it is (1009). Each asks for the file and returns what the page-1
// fields become; the window writes that into its fields. Nothing when the user cancels.
#pragma once

#include <optional>

#include "encode/input_selection.h"

class QWidget;

namespace encode {

// `current` (the field the button stands beside), `output_folder` and `output_html` are the
// fields' current texts; the dialog opens where `current` lies.
std::optional<InputSelection> BrowseForMovie(QWidget* owner, const QString& current,
                                             const QString& output_folder,
                                             const QString& output_html);
std::optional<InputSelection> BrowseForFlv(QWidget* owner, const QString& current,
                                           const QString& output_folder,
                                           const QString& output_html);

}  // namespace encode
