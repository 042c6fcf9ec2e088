// Makes the widget for one control of a dialog template: its kind, caption, rectangle, object
// name (the id's name) and accessible name.
#pragma once

#include <QHash>

#include "res/dialog_template.h"

class QWidget;

QWidget* CreateTemplateControl(const ControlTemplate& control, QWidget* parent);

// Every control of a dialog's template, made on `parent`, by control id; a label standing just
// before a field becomes that field's buddy.
QHash<int, QWidget*> CreateTemplateControls(const DialogTemplate& dialog, QWidget* parent);
