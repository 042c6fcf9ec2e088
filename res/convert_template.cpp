#include "res/convert_template.h"

#include "res/resource.h"

namespace {

using K = ControlKind;

DialogTemplate MakeConvertTemplate() {
  DialogTemplate t;
  t.id = IDD_CONVERT_VIDEO;
  t.caption = "Convert Video";
  t.client = DialogUnitsToPixels({0, 0, 266, 180}).size();
  t.controls = {
      {IDC_CONVERT_TEXT, "IDC_CONVERT_TEXT", K::Label,
       "This video is saved in an unsupported format and can not be encoded. Reelwright can "
       "convert it and create a temporary file. Click Convert if you would like to do that.",
       "Unsupported Format", DialogUnitsToPixels({14, 41, 231, 29}), 0},
      {IDC_CONVERT_PROGRESS, "IDC_CONVERT_PROGRESS", K::Progress, "", "Conversion Progress",
       DialogUnitsToPixels({14, 78, 179, 17}), 0},
      {IDC_CONVERT, "IDC_CONVERT", K::SkinButton, "Convert", "Convert",
       DialogUnitsToPixels({202, 79, 50, 14}), 0},
      {IDCANCEL, "IDCANCEL", K::SkinButton, "Cancel", "Cancel",
       DialogUnitsToPixels({202, 98, 50, 14}), 0},
      {IDC_ENCODE_HINT, "IDC_ENCODE_HINT", K::Label,
       "Press the Encode button to encode the temporary file to the FLV format.", "Encode Hint",
       DialogUnitsToPixels({14, 105, 175, 17}), 0},
      {IDC_DELETE_TEMPORARY, "IDC_DELETE_TEMPORARY", K::CheckBox,
       "Delete the temporary file after it is encoded*.",
       "Delete the temporary file after it is encoded*.", DialogUnitsToPixels({14, 126, 177, 10}),
       0},
      {IDC_DELETE_NOTE, "IDC_DELETE_NOTE", K::Label,
       "* Choosing this option will not delete your original file. It will only delete the "
       "temporary file.",
       "Delete Note", DialogUnitsToPixels({14, 153, 178, 19}), 0},
      {IDC_ENCODE, "IDC_ENCODE", K::SkinButton, "Encode", "Encode",
       DialogUnitsToPixels({202, 154, 50, 14}), 0},
  };
  return t;
}

}  // namespace

const DialogTemplate& ConvertVideoTemplate() {
  static const DialogTemplate kTemplate = MakeConvertTemplate();
  return kTemplate;
}
