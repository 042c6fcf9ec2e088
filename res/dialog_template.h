// Dialog templates as data: every control of a dialog with its id, kind, caption, names and
// pixel rectangle, in one table, so that the skin bitmaps and the controls agree.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

enum class ControlKind {
  Label,        // static text
  Edit,         // single-line edit
  DropList,     // drop-down list, no typing
  DropEdit,     // drop-down list with an edit field
  CheckBox,
  RadioButton,  // the first of a group starts the group
  SkinButton,   // push button painted from bitmaps
  PageTab,      // invisible button showing the page bitmap under it
  Progress,     // progress bar painted from bitmaps
  Picture,      // static picture
};

struct ControlTemplate {
  int id;
  const char* name;             // the id's name in res/resource.h, used as the object name
  ControlKind kind;
  const char* caption;          // the template's text ("" for none)
  const char* accessible_name;  // unique within its dialog
  QRect rect;                   // pixels, in the dialog's client area
  int page;                     // main window: 1 to 3, or 0 for every page; other dialogs: 0
};

// A framed panel with a heading, drawn into a page bitmap; controls of the page lie inside.
struct PanelTemplate {
  int page;
  const char* heading;
  QRect rect;
};

// A rectangle given in dialog units of the dialog font at 8 points and 96 DPI (a unit is a
// quarter of the average character width, 1.5 pixels, across and an eighth of the character
// height, 1.625 pixels, down), in pixels: the size the dialogs keep at every DPI.
QRect FromDialogUnits(int x, int y, int width, int height);
QSize FromDialogUnits(int width, int height);

struct DialogTemplate {
  int id;
  QString caption;
  QSize client;  // pixels
  std::vector<ControlTemplate> controls;

  const ControlTemplate* Find(int control_id) const;
};
