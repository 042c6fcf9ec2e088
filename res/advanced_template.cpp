#include "res/advanced_template.h"

#include "res/resource.h"

namespace {

using K = ControlKind;

DialogTemplate MakeAdvancedTemplate() {
  DialogTemplate t;
  t.id = IDD_ADVANCED_OPTIONS;
  t.caption = "Advanced Options";
  // The size of the background bitmap, title band included, which the dialog paints.
  t.client = QSize(371, 244);
  t.controls = {
      {IDC_USE_PLAYERS_URL, "IDC_USE_PLAYERS_URL", K::CheckBox, "Use External FLV Player URL:",
       "Use External FLV Player URL:", DialogUnitsToPixels({9, 35, 227, 11}), 0},
      {IDC_PLAYERS_URL, "IDC_PLAYERS_URL", K::Edit, "", "External FLV Player URL",
       DialogUnitsToPixels({21, 47, 217, 13}), 0},
      {IDC_USE_VIDEOS_URL, "IDC_USE_VIDEOS_URL", K::CheckBox, "Use External FLV File URL:",
       "Use External FLV File URL:", DialogUnitsToPixels({9, 62, 227, 11}), 0},
      {IDC_VIDEOS_URL, "IDC_VIDEOS_URL", K::Edit, "", "External FLV File URL",
       DialogUnitsToPixels({21, 74, 217, 13}), 0},
      {IDC_USE_JS_URL, "IDC_USE_JS_URL", K::CheckBox, "Use External JavaScript file:",
       "Use External JavaScript file:", DialogUnitsToPixels({9, 89, 227, 11}), 0},
      {IDC_JS_URL, "IDC_JS_URL", K::Edit, "", "External JavaScript file",
       DialogUnitsToPixels({21, 101, 217, 13}), 0},
      // Beyond the classic three: the MP4 twin that the page falls back to.
      {IDC_PUBLISH_MP4, "IDC_PUBLISH_MP4", K::CheckBox,
       "Also publish an MP4 for browsers that cannot play Flash",
       "Also publish an MP4 for browsers that cannot play Flash",
       DialogUnitsToPixels({9, 117, 227, 11}), 0},
      {IDOK, "IDOK", K::SkinButton, "OK", "OK", DialogUnitsToPixels({135, 132, 50, 14}), 0},
      {IDCANCEL, "IDCANCEL", K::SkinButton, "Cancel", "Cancel",
       DialogUnitsToPixels({189, 132, 50, 14}), 0},
  };
  return t;
}

}  // namespace

const DialogTemplate& AdvancedOptionsTemplate() {
  static const DialogTemplate kTemplate = MakeAdvancedTemplate();
  return kTemplate;
}
