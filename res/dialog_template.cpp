#include "res/dialog_template.h"

const ControlTemplate* DialogTemplate::Find(int control_id) const {
  for (const ControlTemplate& control : controls)
    if (control.id == control_id) return &control;
  return nullptr;
}
