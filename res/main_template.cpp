#include "res/main_template.h"

#include "res/resource.h"

namespace {

constexpr int kAllPages = 0;
using K = ControlKind;

// The order is the drawing order of siblings and the tab order of the window.
DialogTemplate MakeMainTemplate() {
  DialogTemplate t;
  t.id = IDD_MAIN;
  t.caption = "Reelwright";
  t.client = QSize(540, 530);
  // One control a line, so the table reads as the template it is.
  // clang-format off
  t.controls = {
      // Page tabs over the tabs drawn in the page bitmaps; 1016 covers the blank strip.
      {IDC_TAB_FILES, "IDC_TAB_FILES", K::PageTab, "", "Step 1", {12, 66, 104, 30}, kAllPages},
      {IDC_TAB_ENCODING, "IDC_TAB_ENCODING", K::PageTab, "", "Step 2", {116, 66, 104, 30}, kAllPages},
      {IDC_TAB_PUBLISH, "IDC_TAB_PUBLISH", K::PageTab, "", "Step 3", {220, 66, 104, 30}, kAllPages},
      {IDC_TAB_BLANK, "IDC_TAB_BLANK", K::PageTab, "", "Tab Strip", {324, 66, 204, 30}, kAllPages},

      // Page 1: "Input" panel.
      {IDC_LABEL_INPUT_VIDEO, "IDC_LABEL_INPUT_VIDEO", K::Label, "Input Video", "Input Video Label", {40, 139, 92, 20}, 1},
      {IDC_INPUT_VIDEO, "IDC_INPUT_VIDEO", K::Edit, "", "Input Video", {134, 138, 270, 22}, 1},
      {IDC_BROWSE_VIDEO, "IDC_BROWSE_VIDEO", K::SkinButton, "Browse...", "Browse for Input Video", {414, 135, 90, 28}, 1},
      // Page 1: "Use Existing FLV" panel.
      {IDC_LABEL_INPUT_FLV, "IDC_LABEL_INPUT_FLV", K::Label, "Input FLV", "Input FLV Label", {40, 221, 92, 20}, 1},
      {IDC_INPUT_FLV, "IDC_INPUT_FLV", K::Edit, "", "Input FLV", {134, 220, 270, 22}, 1},
      {IDC_BROWSE_FLV, "IDC_BROWSE_FLV", K::SkinButton, "Browse...", "Browse for Input FLV", {414, 217, 90, 28}, 1},
      // Page 1: "Output" panel.
      {IDC_LABEL_OUTPUT_FOLDER, "IDC_LABEL_OUTPUT_FOLDER", K::Label, "Output Folder", "Output Folder Label", {40, 303, 92, 20}, 1},
      {IDC_OUTPUT_FOLDER, "IDC_OUTPUT_FOLDER", K::Edit, "", "Output Folder", {134, 302, 270, 22}, 1},
      {IDC_BROWSE_FOLDER, "IDC_BROWSE_FOLDER", K::SkinButton, "Browse...", "Browse for Output Folder", {414, 299, 90, 28}, 1},
      {IDC_LABEL_OUTPUT_VIDEO, "IDC_LABEL_OUTPUT_VIDEO", K::Label, "Output Video", "Output Video Label", {40, 345, 92, 20}, 1},
      {IDC_OUTPUT_VIDEO, "IDC_OUTPUT_VIDEO", K::Edit, "", "Output Video", {134, 344, 270, 22}, 1},
      {IDC_LABEL_OUTPUT_HTML, "IDC_LABEL_OUTPUT_HTML", K::Label, "Output HTML", "Output HTML Label", {40, 387, 92, 20}, 1},
      {IDC_OUTPUT_HTML, "IDC_OUTPUT_HTML", K::Edit, "", "Output HTML", {134, 386, 270, 22}, 1},

      // Page 2: "Presets" panel.
      {IDC_LABEL_PRESET, "IDC_LABEL_PRESET", K::Label, "Preset", "Preset Label", {40, 139, 56, 20}, 2},
      {IDC_PRESET, "IDC_PRESET", K::DropList, "", "Preset", {98, 138, 178, 22}, 2},
      {IDC_ADD_PRESET, "IDC_ADD_PRESET", K::SkinButton, "Save Preset", "Save Preset", {288, 135, 104, 28}, 2},
      {IDC_DELETE_PRESET, "IDC_DELETE_PRESET", K::SkinButton, "Delete Preset", "Delete Preset", {400, 135, 104, 28}, 2},
      // Page 2: "Video Settings" panel.
      {IDC_LABEL_RESOLUTION, "IDC_LABEL_RESOLUTION", K::Label, "Resolution", "Resolution Label", {40, 219, 88, 20}, 2},
      {IDC_RESOLUTION, "IDC_RESOLUTION", K::DropList, "", "Resolution", {132, 218, 118, 22}, 2},
      {IDC_LABEL_FRAME_RATE, "IDC_LABEL_FRAME_RATE", K::Label, "Frame Rate", "Frame Rate Label", {40, 255, 88, 20}, 2},
      {IDC_FRAME_RATE, "IDC_FRAME_RATE", K::DropList, "", "Frame Rate", {132, 254, 118, 22}, 2},
      {IDC_LABEL_VIDEO_BITRATE, "IDC_LABEL_VIDEO_BITRATE", K::Label, "Bitrate", "Video Bitrate Label", {40, 291, 88, 20}, 2},
      {IDC_VIDEO_BITRATE, "IDC_VIDEO_BITRATE", K::DropList, "", "Video Bitrate", {132, 290, 118, 22}, 2},
      // Page 2: "Audio Settings" panel.
      {IDC_ENABLE_AUDIO, "IDC_ENABLE_AUDIO", K::CheckBox, "Enable Audio", "Enable Audio", {292, 216, 130, 20}, 2},
      {IDC_LABEL_AUDIO_BITRATE, "IDC_LABEL_AUDIO_BITRATE", K::Label, "Bitrate", "Audio Bitrate Label", {292, 247, 88, 20}, 2},
      {IDC_AUDIO_BITRATE, "IDC_AUDIO_BITRATE", K::DropList, "", "Audio Bitrate", {384, 246, 118, 22}, 2},
      {IDC_LABEL_SAMPLING_RATE, "IDC_LABEL_SAMPLING_RATE", K::Label, "Sampling Rate", "Sampling Rate Label", {292, 279, 88, 20}, 2},
      {IDC_SAMPLING_RATE, "IDC_SAMPLING_RATE", K::DropList, "", "Sampling Rate", {384, 278, 118, 22}, 2},
      {IDC_MONO, "IDC_MONO", K::RadioButton, "Mono", "Mono", {292, 309, 80, 20}, 2},
      {IDC_STEREO, "IDC_STEREO", K::RadioButton, "Stereo", "Stereo", {384, 309, 80, 20}, 2},
      // Page 2: "Encode Video" panel.
      {IDC_ENCODING_PROGRESS, "IDC_ENCODING_PROGRESS", K::Progress, "", "Encoding Progress", {40, 387, 266, 25}, 2},
      {IDC_START_ENCODING, "IDC_START_ENCODING", K::SkinButton, "Start Encoding", "Start Encoding", {318, 385, 138, 28}, 2},
      {IDC_ENCODED_TICK, "IDC_ENCODED_TICK", K::SkinButton, "", "Encoded", {468, 383, 32, 32}, 2},

      // Page 3: "Web Page" panel, the title row.
      {IDC_LABEL_PAGE_TITLE, "IDC_LABEL_PAGE_TITLE", K::Label, "Page Title", "Page Title Label", {40, 137, 80, 20}, 3},
      {IDC_PAGE_TITLE, "IDC_PAGE_TITLE", K::Edit, "", "Page Title", {124, 136, 380, 22}, 3},
      // Page 3, left column: the player.
      {IDC_PLAYER_NAME, "IDC_PLAYER_NAME", K::Label, "Which Player?", "Player Name", {40, 168, 176, 18}, 3},
      {IDC_PLAYER_PREVIEW, "IDC_PLAYER_PREVIEW", K::Picture, "", "Player Preview", {40, 188, 172, 100}, 3},
      {IDC_CUSTOMIZE_PLAYER, "IDC_CUSTOMIZE_PLAYER", K::SkinButton, "Customize Player...", "Customize Player...", {40, 294, 172, 28}, 3},
      {IDC_ADVANCED_OPTIONS, "IDC_ADVANCED_OPTIONS", K::SkinButton, "Advanced Options...", "Advanced Options...", {40, 328, 172, 28}, 3},
      // Page 3, right column: the player's options.
      {IDC_LABEL_BUFFER_SIZE, "IDC_LABEL_BUFFER_SIZE", K::Label, "Buffer Size", "Buffer Size Label", {230, 169, 76, 20}, 3},
      {IDC_BUFFER_SIZE, "IDC_BUFFER_SIZE", K::DropEdit, "", "Buffer Size", {308, 168, 64, 22}, 3},
      {IDC_LABEL_SECONDS, "IDC_LABEL_SECONDS", K::Label, "Seconds", "Seconds", {378, 169, 70, 20}, 3},
      {IDC_PAUSED_AT_START, "IDC_PAUSED_AT_START", K::CheckBox, "Paused At Start", "Paused At Start", {230, 198, 130, 20}, 3},
      {IDC_PRELOAD_MOVIE, "IDC_PRELOAD_MOVIE", K::CheckBox, "Preload Movie", "Preload Movie", {370, 198, 130, 20}, 3},
      {IDC_DISABLE_I_BUTTON, "IDC_DISABLE_I_BUTTON", K::CheckBox, "Disable 'I' Button", "Disable 'I' Button", {230, 222, 200, 20}, 3},
      {IDC_SHOW_BORDER, "IDC_SHOW_BORDER", K::CheckBox, "Show border around movie", "Show border around movie", {230, 246, 240, 20}, 3},
      {IDC_ENABLE_LINK, "IDC_ENABLE_LINK", K::CheckBox, "Enable Affiliate Link", "Enable Affiliate Link", {230, 274, 164, 20}, 3},
      {IDC_JOIN_NOW, "IDC_JOIN_NOW", K::SkinButton, "Join Now", "Join Now", {400, 270, 104, 28}, 3},
      {IDC_LABEL_AFFILIATE_ID, "IDC_LABEL_AFFILIATE_ID", K::Label, "Affiliate ID:", "Affiliate ID Label", {248, 301, 76, 20}, 3},
      {IDC_AFFILIATE_ID, "IDC_AFFILIATE_ID", K::Edit, "", "Affiliate ID", {326, 300, 178, 22}, 3},
      {IDC_ENABLE_REDIRECT, "IDC_ENABLE_REDIRECT", K::CheckBox, "Use Redirect URL After Movie", "Use Redirect URL After Movie", {230, 330, 260, 20}, 3},
      {IDC_LABEL_HTTP, "IDC_LABEL_HTTP", K::Label, "http://", "Redirect URL Label", {248, 357, 46, 20}, 3},
      {IDC_REDIRECT_URL, "IDC_REDIRECT_URL", K::Edit, "", "Redirect URL", {296, 356, 208, 22}, 3},
      // Page 3, the bottom rows: produce, preview, code.
      {IDC_PRODUCE_PAGE, "IDC_PRODUCE_PAGE", K::SkinButton, "Produce Web Page", "Produce Web Page", {40, 372, 166, 28}, 3},
      {IDC_PUBLISHED_TICK, "IDC_PUBLISHED_TICK", K::SkinButton, "", "Published", {212, 370, 32, 32}, 3},
      {IDC_PREVIEW_PAGE, "IDC_PREVIEW_PAGE", K::SkinButton, "Preview Web Page", "Preview Web Page", {40, 408, 166, 28}, 3},
      {IDC_GET_CODE, "IDC_GET_CODE", K::SkinButton, "Get Code...", "Get Code...", {212, 408, 119, 28}, 3},

      // Every page: the bottom bar.
      {IDC_OPEN, "IDC_OPEN", K::SkinButton, "Open", "Open", {16, 470, 50, 50}, kAllPages},
      {IDC_SAVE, "IDC_SAVE", K::SkinButton, "Save", "Save", {72, 470, 50, 50}, kAllPages},
      {IDC_SAVE_AS, "IDC_SAVE_AS", K::SkinButton, "Save As...", "Save As...", {128, 470, 50, 50}, kAllPages},
      {IDC_BACK, "IDC_BACK", K::SkinButton, "<", "Back", {334, 481, 32, 28}, kAllPages},
      {IDC_NEXT, "IDC_NEXT", K::SkinButton, ">", "Next", {372, 481, 32, 28}, kAllPages},
      {IDC_HELP, "IDC_HELP", K::SkinButton, "Help", "Help", {418, 470, 50, 50}, kAllPages},
      {IDC_EXIT, "IDC_EXIT", K::SkinButton, "Exit", "Exit", {474, 470, 50, 50}, kAllPages},
  };
  // clang-format on
  return t;
}

}  // namespace

const DialogTemplate& MainDialogTemplate() {
  static const DialogTemplate kTemplate = MakeMainTemplate();
  return kTemplate;
}

const std::vector<PanelTemplate>& MainDialogPanels() {
  static const std::vector<PanelTemplate> kPanels = {
      {1, "Input", {24, 106, 492, 72}},           {1, "Use Existing FLV", {24, 188, 492, 72}},
      {1, "Output", {24, 270, 492, 160}},         {2, "Presets", {24, 106, 492, 72}},
      {2, "Video Settings", {24, 188, 240, 150}}, {2, "Audio Settings", {276, 188, 240, 150}},
      {2, "Encode Video", {24, 348, 492, 82}},    {3, "Web Page", {24, 106, 492, 342}},
  };
  return kPanels;
}

QRect MainDialogTabRect(int page) {
  const int ids[] = {IDC_TAB_FILES, IDC_TAB_ENCODING, IDC_TAB_PUBLISH};
  return MainDialogTemplate().Find(ids[page - 1])->rect;
}

QRect MainDialogLogoStrip() {
  return QRect(0, 0, 540, 64);
}

QRect MainDialogBottomBar() {
  return QRect(0, 458, 540, 72);
}
