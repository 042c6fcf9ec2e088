// What a screen reader is told about our dialogs' controls, where Qt's own account falls short:
// lists say their value, page tabs say which page is shown, fields are read whole, choices say
// their group. Installed once, before the first window opens.
#pragma once

void InstallAccessibleWidgets();
