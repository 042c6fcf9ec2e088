#include "res/bitmaps.h"

#include <gtest/gtest.h>

#include "res/main_template.h"
#include "res/resource.h"

namespace {

struct Expected {
  int id;
  int width;
  int height;
  int bits;
};

// Every bitmap the program loads, with the size and depth its controls are laid out for.
// clang-format off
const Expected kBitmaps[] = {
    {215, 540, 530, 24}, {202, 540, 530, 24}, {131, 540, 530, 24},
    {133, 90, 28, 24},   {134, 90, 28, 24},   {135, 90, 28, 24},
    {136, 166, 28, 24},  {137, 166, 28, 24},  {138, 166, 28, 24},
    {140, 166, 28, 24},  {141, 166, 28, 24},  {142, 166, 28, 24},  {139, 166, 28, 24},
    {144, 50, 50, 24},   {145, 50, 50, 24},   {146, 50, 50, 24},
    {147, 50, 50, 24},   {148, 50, 50, 24},   {149, 50, 50, 24},
    {150, 50, 50, 24},   {151, 50, 50, 24},   {152, 50, 50, 24},
    {154, 32, 32, 24},
    {187, 50, 50, 24},   {188, 50, 50, 24},   {189, 50, 50, 24},
    {163, 32, 28, 24},   {164, 32, 28, 24},   {165, 32, 28, 24},
    {166, 32, 28, 24},   {167, 32, 28, 24},   {168, 32, 28, 24},
    {169, 50, 50, 24},   {170, 50, 50, 24},   {171, 50, 50, 24},
    {172, 172, 28, 24},  {173, 172, 28, 24},  {174, 172, 28, 24},
    {175, 119, 28, 24},  {176, 119, 28, 24},  {177, 119, 28, 24},  {186, 119, 28, 8},
    {178, 138, 28, 24},  {179, 138, 28, 24},  {180, 138, 28, 24},  {185, 138, 28, 8},
    {206, 104, 28, 24},  {207, 104, 28, 24},  {208, 104, 28, 24},  {211, 104, 28, 8},
    {214, 104, 28, 24},  {204, 104, 28, 24},  {205, 104, 28, 24},  {212, 104, 28, 8},
    {228, 104, 28, 24},  {229, 104, 28, 24},  {230, 104, 28, 24},  {232, 104, 28, 8},
    {240, 172, 28, 24},  {241, 172, 28, 24},  {242, 172, 28, 24},
    {198, 266, 25, 24},  {1064, 259, 19, 24},
    {226, 400, 300, 24}, {233, 480, 350, 24}, {132, 400, 300, 24}, {239, 371, 244, 24},
    {220, 75, 23, 24},   {221, 75, 23, 24},   {219, 75, 23, 24},   {225, 75, 23, 24},
    {157, 75, 23, 24},   {159, 75, 23, 24},   {158, 75, 23, 24},
    {222, 75, 23, 24},   {223, 75, 23, 24},   {224, 75, 23, 24},
    {182, 156, 23, 24},  {184, 156, 23, 24},  {183, 156, 23, 24},
    {192, 75, 23, 24},   {193, 75, 23, 24},   {194, 75, 23, 24},
    {160, 75, 23, 24},   {162, 75, 23, 24},   {161, 75, 23, 24},
};
// clang-format on

const QRgb kShadow = qRgb(128, 128, 128);
const QRgb kFace = qRgb(192, 192, 192);
const QRgb kLight = qRgb(223, 223, 223);

TEST(SkinBitmaps, EveryBitmapHasItsSizeAndDepth) {
  for (const Expected& expected : kBitmaps) {
    SCOPED_TRACE(expected.id);
    const QImage image = LoadBitmapResource(expected.id);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(expected.width, expected.height));
    if (expected.bits == 8) {
      EXPECT_EQ(image.format(), QImage::Format_Indexed8);
      EXPECT_EQ(image.depth(), 8);
    } else {
      EXPECT_TRUE(image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_RGB888)
          << image.format();
      EXPECT_EQ(image.colorCount(), 0);
    }
  }
}

TEST(SkinBitmaps, UnknownIdGivesNoPicture) {
  EXPECT_TRUE(LoadBitmapResource(999).isNull());
}

TEST(SkinBitmaps, DisabledEightBitFacesCarryTheThreeGreys) {
  for (int id : {185, 186, 211, 212, 232}) {
    SCOPED_TRACE(id);
    const QList<QRgb> table = LoadBitmapResource(id).colorTable();
    for (QRgb grey : {kShadow, kFace, kLight}) EXPECT_EQ(table.count(grey), 1);
  }
}

TEST(SkinBitmaps, MappingReplacesOnlyTheThreeGreys) {
  QPalette palette;
  palette.setColor(QPalette::Dark, QColor(10, 20, 30));
  palette.setColor(QPalette::Button, QColor(40, 50, 60));
  palette.setColor(QPalette::Midlight, QColor(70, 80, 90));
  const QImage stored = LoadBitmapResource(IDB_START_DISABLED);
  const QImage mapped = LoadBitmapResourceMapped(IDB_START_DISABLED, palette);

  ASSERT_EQ(mapped.format(), QImage::Format_Indexed8);
  ASSERT_EQ(mapped.colorCount(), stored.colorCount());
  int other_entries = 0;
  for (int i = 0; i < stored.colorCount(); ++i) {
    const QRgb before = stored.color(i);
    const QRgb after = mapped.color(i);
    if (before == kShadow) {
      EXPECT_EQ(after, qRgb(10, 20, 30));
    } else if (before == kFace) {
      EXPECT_EQ(after, qRgb(40, 50, 60));
    } else if (before == kLight) {
      EXPECT_EQ(after, qRgb(70, 80, 90));
    } else {
      EXPECT_EQ(after, before);
      ++other_entries;
    }
  }
  EXPECT_GE(other_entries, 1);  // the background the face sits on stays as it is
  for (int y = 0; y < stored.height(); ++y)
    for (int x = 0; x < stored.width(); ++x)
      ASSERT_EQ(mapped.pixelIndex(x, y), stored.pixelIndex(x, y));
}

TEST(SkinBitmaps, TwentyFourBitFacesAreNotMapped) {
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(40, 50, 60));
  EXPECT_EQ(LoadBitmapResourceMapped(IDB_PREVIEW_DISABLED, palette),
            LoadBitmapResource(IDB_PREVIEW_DISABLED));
}

// The tab over the blank strip always shows page 1's picture, and the logo strip and the
// bottom bar's buttons stay put while the pages change: those parts must be alike.
TEST(SkinBitmaps, SharedPartsOfThePagesAreIdentical) {
  const QImage files = LoadBitmapResource(IDB_PAGE_FILES);
  const QImage encoding = LoadBitmapResource(IDB_PAGE_ENCODING);
  const QImage publish = LoadBitmapResource(IDB_PAGE_PUBLISH);
  const QRect shared[] = {MainDialogTemplate().Find(IDC_TAB_BLANK)->rect, MainDialogLogoStrip(),
                          MainDialogTemplate().Find(IDC_OPEN)->rect,
                          MainDialogTemplate().Find(IDC_EXIT)->rect};
  for (const QRect& rect : shared) {
    EXPECT_EQ(files.copy(rect), encoding.copy(rect));
    EXPECT_EQ(files.copy(rect), publish.copy(rect));
  }
  // Each page raises its own tab, so the tab row differs.
  const QRect tabs = MainDialogTabRect(1).united(MainDialogTabRect(3));
  EXPECT_NE(files.copy(tabs), encoding.copy(tabs));
  EXPECT_NE(encoding.copy(tabs), publish.copy(tabs));
}

TEST(SkinBitmaps, ProgramIconIsTheReelOnATransparentGround) {
  const QIcon icon = LoadProgramIcon();
  ASSERT_FALSE(icon.isNull());
  const QImage image = icon.pixmap(48, 48).toImage();
  EXPECT_EQ(image.size(), QSize(48, 48));
  EXPECT_TRUE(image.hasAlphaChannel());
  EXPECT_EQ(qAlpha(image.pixel(47, 0)), 0);
  EXPECT_EQ(qAlpha(image.pixel(20, 22)), 255);
}

}  // namespace
