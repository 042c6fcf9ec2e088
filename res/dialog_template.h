// Dialog templates as data: every control of a dialog with its id, kind, caption, names and
// pixel rectangle, in one table, so that the skin bitmaps and the controls agree.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

enum class ControlKind {
  Label,     // static text
  Edit,      // single-line edit
  DropList,  // drop-down list, no typing
  DropEdit,  // drop-down list with an edit field
  CheckBox,
  RadioButton,  // the first of a group starts the group
  SkinButton,   // push button painted from bitmaps
  PageTab,      // invisible button showing the page bitmap under it
  Progress,     // progress bar painted from bitmaps
  Picture,      // static picture
  CodeBox,      // read-only multi-line edit, both scroll bars, text on white
  ListBox,      // list of rows, one chosen at a time
};

struct ControlTemplate {
  int id;
  const char* name;  // the id's name in res/resource.h, used as the object name
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

// A dialog-unit rectangle of a template in pixels, as the 8-point dialog font at 96 DPI measures
// it (6 by 13 base units: 1 unit is 1.5 pixels across and 1.625 down, each edge rounded): the
// size the dialogs keep at every DPI.
QRect DialogUnitsToPixels(const QRect& units);

struct DialogTemplate {
  int id;
  QString caption;
  QSize client;  // pixels
  std::vector<ControlTemplate> controls;

  const ControlTemplate* Find(int control_id) const;
};
