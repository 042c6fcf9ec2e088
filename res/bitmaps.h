// The program's own bitmaps and icon, embedded with Qt's resource system and found by their
// numeric ids (res/resource.h).
#pragma once

#include <QIcon>
#include <QImage>
#include <QPalette>

// The bitmap as stored (24 bits, or 8 bits with a colour table); a null image for an unknown id.
QImage LoadBitmapResource(int id);

// The bitmap with 3D colour mapping: in a bitmap with a colour table, the entries
// (128,128,128), (192,192,192) and (223,223,223) become the palette's shadow, face and light
// colours (Dark, Button and Midlight of its active group). Bitmaps without a colour table come
// back as stored.
QImage LoadBitmapResourceMapped(int id, const QPalette& palette);

// Icon 128, the program's icon.
QIcon LoadProgramIcon();
