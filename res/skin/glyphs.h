// The small pictures on the buttons: folder, disk, disk with pencil, question mark, red cross,
// green arrows, and the green tick.
#pragma once

#include <QPainter>
#include <QRectF>

namespace skin {

enum class Glyph {
  None,
  Folder,
  Disk,
  DiskWithPencil,
  QuestionMark,
  RedCross,
  LeftArrow,
  RightArrow
};

// Draws `glyph` scaled into `box` (designed on a 24 by 24 grid).
void DrawGlyph(QPainter& painter, Glyph glyph, const QRectF& box);

// The green tick in a disc, filling `box`.
void DrawTickDisc(QPainter& painter, const QRectF& box);

}  // namespace skin
