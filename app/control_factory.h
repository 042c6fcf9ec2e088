// Makes the widget for one control of a dialog template: its kind, caption, rectangle, object
// name (the id's name) and accessible name.
#pragma once

#include "res/dialog_template.h"

class QWidget;

QWidget* CreateTemplateControl(const ControlTemplate& control, QWidget* parent);
