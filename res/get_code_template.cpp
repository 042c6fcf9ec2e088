#include "res/get_code_template.h"

#include "res/resource.h"

namespace {

using K = ControlKind;

// Pixels over the 480 by 350 background, below its 48-pixel title band; the skinned buttons take
// the size of their bitmaps where they stand.
DialogTemplate MakeGetCodeTemplate() {
  DialogTemplate t;
  t.id = IDD_GET_CODE;
  t.caption = "Get Code...";
  t.client = {480, 350};
  t.controls = {
      {IDC_CODE_TEXT, "IDC_CODE_TEXT", K::CodeBox, "", "Code", {14, 60, 452, 238}, 0},
      {IDC_COPY_CODE,
       "IDC_COPY_CODE",
       K::SkinButton,
       "Copy Code to Clipboard",
       "Copy Code to Clipboard",
       {14, 312, 156, 23},
       0},
      {IDC_COPIED_TICK, "IDC_COPIED_TICK", K::SkinButton, "", "Copied", {176, 308, 32, 32}, 0},
      {IDOK, "IDOK", K::SkinButton, "Close", "Close", {391, 312, 75, 23}, 0},
  };
  return t;
}

}  // namespace

const DialogTemplate& GetCodeTemplate() {
  static const DialogTemplate kTemplate = MakeGetCodeTemplate();
  return kTemplate;
}
