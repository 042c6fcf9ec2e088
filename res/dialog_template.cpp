#include "res/dialog_template.h"

const ControlTemplate* DialogTemplate::Find(int control_id) const {
  for (const ControlTemplate& control : controls)
    if (control.id == control_id) return &control;
  return nullptr;
}

namespace {
int Across(int units) { return (units * 3 + 1) / 2; }
int Down(int units) { return (units * 13 + 4) / 8; }
}  // namespace

QRect FromDialogUnits(int x, int y, int width, int height) {
  return QRect(Across(x), Down(y), Across(width), Down(height));
}

QSize FromDialogUnits(int width, int height) { return QSize(Across(width), Down(height)); }
