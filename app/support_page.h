// The product's help page: the user guide that ships in the program folder. The Help button
// and the Help menu's "Support Website..." both open it.
#pragma once

#include <QUrl>

class QWidget;

// The file address of <program folder>/help/index.html.
QUrl SupportPageUrl();

// Asks the desktop to open the help page (at `fragment`, if given) in the user's browser; when
// the machine has no browser or launcher, says so over `owner` with the page's address.
void OpenSupportPage(QWidget* owner, const QString& fragment = {});
