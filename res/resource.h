// Every numeric id of the program: dialog templates, controls, bitmaps, icon, menu and commands.
// Each id is named once here and used everywhere by that name. Control ids are unique within
// their dialog only: the same number can name different controls of different dialogs.
#pragma once

// Dialog templates.
constexpr int IDD_MAIN = 102;
constexpr int IDD_CUSTOMIZE_PLAYER = 155;
constexpr int IDD_GET_CODE = 181;
constexpr int IDD_ABOUT = 196;
constexpr int IDD_CONVERT_VIDEO = 217;
constexpr int IDD_ADVANCED_OPTIONS = 237;
constexpr int IDD_NEW_PRESET = 243;

// Icon and menu.
constexpr int IDR_MAINFRAME = 128;
constexpr int IDR_MAIN_MENU = 195;

// Menu commands.
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 32773;
constexpr int ID_FILE_EXIT = 32774;
constexpr int ID_HELP_ABOUT = 32775;
constexpr int ID_HELP_SUPPORT = 32776;

// The encoding run's window timer.
constexpr int ID_ENCODING_TIMER = 40041;

// Standard dialog buttons.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Main window (template 102): page tabs.
constexpr int IDC_TAB_FILES = 1000;
constexpr int IDC_TAB_ENCODING = 1001;
constexpr int IDC_TAB_PUBLISH = 1002;
constexpr int IDC_TAB_BLANK = 1016;

// Main window, page 1: input and output files.
constexpr int IDC_INPUT_VIDEO = 1003;
constexpr int IDC_INPUT_FLV = 1004;
constexpr int IDC_OUTPUT_FOLDER = 1005;
constexpr int IDC_OUTPUT_VIDEO = 1006;
constexpr int IDC_OUTPUT_HTML = 1007;
constexpr int IDC_BROWSE_VIDEO = 1008;
constexpr int IDC_BROWSE_FLV = 1009;
constexpr int IDC_BROWSE_FOLDER = 1010;
constexpr int IDC_LABEL_INPUT_VIDEO = 1011;
constexpr int IDC_LABEL_INPUT_FLV = 1012;
constexpr int IDC_LABEL_OUTPUT_FOLDER = 1013;
constexpr int IDC_LABEL_OUTPUT_VIDEO = 1014;
constexpr int IDC_LABEL_OUTPUT_HTML = 1015;

// Main window, page 2: encoding.
constexpr int IDC_LABEL_PRESET = 1018;
constexpr int IDC_LABEL_RESOLUTION = 1019;
constexpr int IDC_LABEL_FRAME_RATE = 1020;
constexpr int IDC_LABEL_VIDEO_BITRATE = 1021;
constexpr int IDC_LABEL_AUDIO_BITRATE = 1022;
constexpr int IDC_LABEL_SAMPLING_RATE = 1023;
constexpr int IDC_SAMPLING_RATE = 1024;
constexpr int IDC_AUDIO_BITRATE = 1025;
constexpr int IDC_PRESET = 1026;
constexpr int IDC_RESOLUTION = 1027;
constexpr int IDC_FRAME_RATE = 1028;
constexpr int IDC_VIDEO_BITRATE = 1029;
constexpr int IDC_ENABLE_AUDIO = 1030;
constexpr int IDC_MONO = 1031;
constexpr int IDC_STEREO = 1032;
constexpr int IDC_START_ENCODING = 1033;
constexpr int IDC_DELETE_PRESET = 1035;
constexpr int IDC_ADD_PRESET = 1047;
constexpr int IDC_ENCODING_PROGRESS = 1063;
constexpr int IDC_ENCODED_TICK = 1058;

// Main window, page 3: the web page.
constexpr int IDC_LABEL_PAGE_TITLE = 1034;
constexpr int IDC_BUFFER_SIZE = 1036;
constexpr int IDC_PAGE_TITLE = 1037;
constexpr int IDC_ENABLE_LINK = 1038;
constexpr int IDC_LABEL_AFFILIATE_ID = 1039;
constexpr int IDC_AFFILIATE_ID = 1040;
constexpr int IDC_PRODUCE_PAGE = 1041;
constexpr int IDC_PREVIEW_PAGE = 1042;
constexpr int IDC_GET_CODE = 1043;
constexpr int IDC_CUSTOMIZE_PLAYER = 1044;
constexpr int IDC_LABEL_BUFFER_SIZE = 1045;
constexpr int IDC_LABEL_SECONDS = 1046;
constexpr int IDC_PAUSED_AT_START = 1053;
constexpr int IDC_PUBLISHED_TICK = 1054;
constexpr int IDC_REDIRECT_URL = 1056;
constexpr int IDC_DISABLE_I_BUTTON = 1057;
constexpr int IDC_ENABLE_REDIRECT = 1059;
constexpr int IDC_JOIN_NOW = 1061;
constexpr int IDC_SHOW_BORDER = 1062;
constexpr int IDC_PRELOAD_MOVIE = 1064;
constexpr int IDC_PLAYER_PREVIEW = 1065;
constexpr int IDC_ADVANCED_OPTIONS = 1017;
constexpr int IDC_PLAYER_NAME = 2035;
constexpr int IDC_LABEL_HTTP = 2036;

// Main window, every page: navigation and the bottom bar.
constexpr int IDC_OPEN = 1048;
constexpr int IDC_SAVE = 1049;
constexpr int IDC_SAVE_AS = 1050;
constexpr int IDC_BACK = 1051;
constexpr int IDC_NEXT = 1052;
constexpr int IDC_EXIT = 1055;
constexpr int IDC_HELP = 1060;

// Customize Player (template 155).
constexpr int IDC_PLAYER_LIST = 1055;
constexpr int IDC_PLAYER_PICTURE = 1064;

// Get Code (template 181); its Close button is IDOK.
constexpr int IDC_CODE_TEXT = 1056;
constexpr int IDC_COPY_CODE = 1057;
constexpr int IDC_COPIED_TICK = 1059;

// About (template 196).
constexpr int IDC_VERSION = 1076;
constexpr int IDC_ABOUT_LINE = 1077;

// Convert Video (template 217); its Cancel button is IDCANCEL.
constexpr int IDC_CONVERT_PROGRESS = 1063;
constexpr int IDC_DELETE_TEMPORARY = 1067;
constexpr int IDC_CONVERT = 1068;
constexpr int IDC_ENCODE = 1070;
constexpr int IDC_ENCODE_HINT = 1071;
constexpr int IDC_DELETE_NOTE = 1072;
constexpr int IDC_CONVERT_TEXT = 1074;

// Advanced Options (template 237).
constexpr int IDC_PLAYERS_URL = 1056;
constexpr int IDC_VIDEOS_URL = 1057;
constexpr int IDC_JS_URL = 1058;
constexpr int IDC_USE_PLAYERS_URL = 1067;
constexpr int IDC_USE_VIDEOS_URL = 1078;
constexpr int IDC_USE_JS_URL = 1079;
// Beyond the classic dialog: the MP4 twin for browsers that cannot play the player.
constexpr int IDC_PUBLISH_MP4 = 1082;

// New Preset (template 243).
constexpr int IDC_PRESET_NAME_PROMPT = 1080;
constexpr int IDC_PRESET_NAME = 1081;

// Bitmaps: page backgrounds, 540 by 530, 24 bits.
constexpr int IDB_PAGE_FILES = 215;
constexpr int IDB_PAGE_ENCODING = 202;
constexpr int IDB_PAGE_PUBLISH = 131;

// Bitmaps: button faces of the main window (normal, hover, pressed, disabled).
constexpr int IDB_BROWSE = 133;
constexpr int IDB_BROWSE_HOVER = 134;
constexpr int IDB_BROWSE_PRESSED = 135;
constexpr int IDB_PRODUCE = 136;
constexpr int IDB_PRODUCE_HOVER = 137;  // also the player picture's first image
constexpr int IDB_PRODUCE_PRESSED = 138;
constexpr int IDB_PREVIEW_DISABLED = 139;
constexpr int IDB_PREVIEW = 140;
constexpr int IDB_PREVIEW_HOVER = 141;
constexpr int IDB_PREVIEW_PRESSED = 142;
constexpr int IDB_OPEN = 144;
constexpr int IDB_OPEN_HOVER = 145;
constexpr int IDB_OPEN_PRESSED = 146;
constexpr int IDB_SAVE = 147;
constexpr int IDB_SAVE_HOVER = 148;
constexpr int IDB_SAVE_PRESSED = 149;
constexpr int IDB_SAVE_AS = 150;
constexpr int IDB_SAVE_AS_HOVER = 151;
constexpr int IDB_SAVE_AS_PRESSED = 152;
constexpr int IDB_TICK = 154;
constexpr int IDB_BACK = 163;
constexpr int IDB_BACK_HOVER = 164;
constexpr int IDB_BACK_PRESSED = 165;
constexpr int IDB_NEXT = 166;
constexpr int IDB_NEXT_HOVER = 167;
constexpr int IDB_NEXT_PRESSED = 168;
constexpr int IDB_EXIT = 169;
constexpr int IDB_EXIT_HOVER = 170;
constexpr int IDB_EXIT_PRESSED = 171;
constexpr int IDB_CUSTOMIZE = 172;
constexpr int IDB_CUSTOMIZE_HOVER = 173;
constexpr int IDB_CUSTOMIZE_PRESSED = 174;
constexpr int IDB_GET_CODE = 175;
constexpr int IDB_GET_CODE_HOVER = 176;
constexpr int IDB_GET_CODE_PRESSED = 177;
constexpr int IDB_START = 178;
constexpr int IDB_START_HOVER = 179;
constexpr int IDB_START_PRESSED = 180;
constexpr int IDB_START_DISABLED = 185;     // 8 bits, 3D colour mapping
constexpr int IDB_GET_CODE_DISABLED = 186;  // 8 bits, 3D colour mapping
constexpr int IDB_HELP = 187;
constexpr int IDB_HELP_HOVER = 188;
constexpr int IDB_HELP_PRESSED = 189;
constexpr int IDB_ADD_PRESET_PRESSED = 204;
constexpr int IDB_ADD_PRESET_HOVER = 205;
constexpr int IDB_DELETE_PRESET = 206;
constexpr int IDB_DELETE_PRESET_PRESSED = 207;
constexpr int IDB_DELETE_PRESET_HOVER = 208;
constexpr int IDB_DELETE_PRESET_DISABLED = 211;  // 8 bits, 3D colour mapping
constexpr int IDB_ADD_PRESET_DISABLED = 212;     // 8 bits, 3D colour mapping
constexpr int IDB_ADD_PRESET = 214;
constexpr int IDB_JOIN_NOW = 228;
constexpr int IDB_JOIN_NOW_HOVER = 229;
constexpr int IDB_JOIN_NOW_PRESSED = 230;
constexpr int IDB_JOIN_NOW_DISABLED = 232;  // 8 bits, 3D colour mapping
constexpr int IDB_ADVANCED = 240;
constexpr int IDB_ADVANCED_HOVER = 241;
constexpr int IDB_ADVANCED_PRESSED = 242;
// Start Encoding's face while a run goes: Stop Encoding.
constexpr int IDB_STOP = 300;
constexpr int IDB_STOP_HOVER = 301;
constexpr int IDB_STOP_PRESSED = 302;

// Bitmaps: the dialogs' buttons.
constexpr int IDB_CANCEL = 157;
constexpr int IDB_CANCEL_HOVER = 158;
constexpr int IDB_CANCEL_PRESSED = 159;
constexpr int IDB_OK = 160;
constexpr int IDB_OK_HOVER = 161;
constexpr int IDB_OK_PRESSED = 162;
constexpr int IDB_COPY = 182;
constexpr int IDB_COPY_HOVER = 183;
constexpr int IDB_COPY_PRESSED = 184;
constexpr int IDB_CLOSE = 192;
constexpr int IDB_CLOSE_PRESSED = 193;
constexpr int IDB_CLOSE_HOVER = 194;
constexpr int IDB_CONVERT_HOVER = 219;
constexpr int IDB_CONVERT = 220;
constexpr int IDB_CONVERT_PRESSED = 221;
constexpr int IDB_ENCODE = 222;
constexpr int IDB_ENCODE_PRESSED = 223;
constexpr int IDB_ENCODE_HOVER = 224;
constexpr int IDB_CONVERT_DISABLED = 225;

// Bitmaps: the progress bar and the dialog backgrounds.
constexpr int IDB_PROGRESS_FRAME = 198;        // 266 by 25
constexpr int IDB_PROGRESS_FILL = 1064;        // 259 by 19; its right end is the leading edge
constexpr int IDB_CONVERT_BACKGROUND = 226;    // 400 by 300
constexpr int IDB_GET_CODE_BACKGROUND = 233;   // 480 by 350
constexpr int IDB_CUSTOMIZE_BACKGROUND = 132;  // 400 by 300
constexpr int IDB_ADVANCED_BACKGROUND = 239;   // 371 by 220
