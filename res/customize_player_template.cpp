#include "res/customize_player_template.h"

#include "res/resource.h"

namespace {

using K = ControlKind;

// Pixels over the 400 by 300 background, below its 48-pixel title band. The picture has the
// proportions of the player page's picture control.
DialogTemplate MakeCustomizePlayerTemplate() {
  DialogTemplate t;
  t.id = IDD_CUSTOMIZE_PLAYER;
  t.caption = "Customize Player";
  t.client = {400, 300};
  t.controls = {
      {IDC_PLAYER_LIST, "IDC_PLAYER_LIST", K::ListBox, "", "Players", {14, 62, 150, 186}, 0},
      {IDC_PLAYER_PICTURE,
       "IDC_PLAYER_PICTURE",
       K::Picture,
       "",
       "Player Preview",
       {178, 62, 208, 121},
       0},
      {IDOK, "IDOK", K::SkinButton, "OK", "OK", {229, 262, 75, 23}, 0},
      {IDCANCEL, "IDCANCEL", K::SkinButton, "Cancel", "Cancel", {311, 262, 75, 23}, 0},
  };
  return t;
}

}  // namespace

const DialogTemplate& CustomizePlayerTemplate() {
  static const DialogTemplate kTemplate = MakeCustomizePlayerTemplate();
  return kTemplate;
}
