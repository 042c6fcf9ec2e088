// Small rules for values read from the program's text files, shared by the settings file, the
// affiliate file and the project file.
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace store {

// `text` cut to at most `max_length` characters (UTF-16 units), never in the middle of a
// surrogate pair. The old fixed-size buffers cut the same way; a negative length gives "".
QString CutToLength(QString text, qsizetype max_length);

// The decimal integer at the start of `text`: leading white space, an optional sign, then the
// digits up to the first other character. Empty when no digit follows. Values beyond the
// 32-bit range stop at its ends.
std::optional<int> ParseLeadingInt(QStringView text);

}  // namespace store
