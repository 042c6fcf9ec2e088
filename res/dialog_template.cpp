#include "res/dialog_template.h"

const ControlTemplate* DialogTemplate::Find(int control_id) const {
  for (const ControlTemplate& control : controls)
    if (control.id == control_id) return &control;
  return nullptr;
}

namespace {

constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;

// value * numerator / denominator, rounded to the nearest whole number.
int MulDiv(int value, int numerator, int denominator) {
  return (value * numerator * 2 + denominator) / (denominator * 2);
}

}  // namespace

QRect DialogUnitsToPixels(const QRect& units) {
  const int left = MulDiv(units.x(), kBaseUnitX, 4);
  const int top = MulDiv(units.y(), kBaseUnitY, 8);
  const int right = MulDiv(units.x() + units.width(), kBaseUnitX, 4);
  const int bottom = MulDiv(units.y() + units.height(), kBaseUnitY, 8);
  return QRect(left, top, right - left, bottom - top);
}
