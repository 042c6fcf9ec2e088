// How a value the job controls is written into the page, so that it stays a value wherever it
// lands: in the page's text or an attribute, inside the FlashVars text, or as the address of a
// file beside the page. A project file opens by double-click, so any of these may be hostile.
// Every writer drops control characters (C0, DEL and C1: a NUL or an escape has no business in
// a page), and a value without the characters it escapes comes out exactly as it went in.
#pragma once

#include <QString>

namespace publish {

// Text for HTML, in element text or a quoted attribute: "&", "<", ">", '"' and "'" become
// character references, so the value can never close its element or attribute.
QString HtmlText(const QString& text);

// A FlashVars value: every character that would split the text into more pairs or change how
// the player decodes it ("%", "&", "+", "=", "#") is percent-encoded, as are the quotes and
// angle brackets, so the player gets back exactly `text`.
QString FlashVarsValue(const QString& text);

// A file name in the output folder (with "/" between folders) as an address relative to the
// page: the characters that would end the path or change its meaning ("%", "#", "?", "\", ":")
// are percent-encoded. Others, such as spaces and accented letters, the browser encodes itself.
QString RelativeUrlPath(const QString& file_name);

}  // namespace publish
