// Get Code and Preview: the part of the published page a user pastes into a page of their
// own, what goes to the clipboard, and when the preview warns that it cannot show the page
// as the web server will.
#pragma once

#include <QString>

namespace publish {

// The code: the page after its first "<body>" and before its first "</body>" (exact case),
// with every line feed shown as a carriage return and a line feed.
QString GetCodeText(const QString& generated_html);

// Whether the preview warns: a page that loads the player, the video or the script from
// another place does not play as it will on the user's web server.
bool PreviewWarns(bool players_url_enabled, bool videos_url_enabled, bool js_url_enabled,
                  const QString& js_url);

// The warning's text.
QString PreviewWarningText();

// The address of the page on the local preview server.
QString PreviewAddress(int port, const QString& output_html);

}  // namespace publish
