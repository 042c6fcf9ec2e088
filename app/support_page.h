// The product's help page: the user guide that ships in the program folder. The Help button
// and the Help menu's "Support Website..." both open it.
#pragma once

#include <QUrl>

// The file address of <program folder>/help/index.html.
QUrl SupportPageUrl();

// Asks the desktop to open the help page in the user's browser. Whether a browser started is
// not looked at: nothing is reported.
void OpenSupportPage();
