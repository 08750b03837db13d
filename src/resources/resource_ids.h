// Numbers of Lumetra's resources: menu commands, menu and accelerator tables, icon, cursors,
// toolbar bitmaps, dialogs with their controls, and string-table entries. Shared by the C++ code
// and lumetra.rc, so it holds nothing but #define lines.
#ifndef LUMETRA_RESOURCE_IDS_H
#define LUMETRA_RESOURCE_IDS_H

// ---------------------------------------------------------------------------------------------
// Resource tables
#define IDR_MAINMENU 100
#define IDR_ACCELERATORS 1005
#define IDI_LUMETRA 1068

// The application manifest (RT_MANIFEST id 1)
#define IDR_MANIFEST 1

// ---------------------------------------------------------------------------------------------
// Commands (menu 100, accelerators 1005, toolbar). The help text of a command is the string-table
// entry with the same number.
#define IDM_HELP 83

#define IDM_NEW_IMAGE 101
#define IDM_OPEN_IMAGE 102
#define IDM_REFRESH_FROM_FILE 103
#define IDM_ANALYZE_SOUNDFILE 104
#define IDM_SAVE_IMAGE 105
#define IDM_SAVE_IMAGE_AS 106
#define IDM_SAVE_SOUND_AS 107
#define IDM_EXIT 113

#define IDM_UNDO 201
#define IDM_REDO 202
#define IDM_CUT 203
#define IDM_COPY 204
#define IDM_PASTE 205
#define IDM_PASTE_AS_OVERLAY 206
#define IDM_DELETE 207
#define IDM_FILTER_FROM_BROWSER 208
#define IDM_PASTE_AS_FILTER 209
#define IDM_OVERLAY_FROM_BROWSER 210
#define IDM_FILTER_FROM_FILE 211
#define IDM_OVERLAY_FROM_FILE 212

#define IDM_APPLY_BRUSH 221
#define IDM_APPLY_BOILER 222
#define IDM_NORMALIZE 223
#define IDM_BRIGHTEN 224
#define IDM_DARKEN 225
#define IDM_MORE_CONTRAST 226
#define IDM_INVERT_COLORS 227
#define IDM_CLEAR_EXCESS_BLUE 228

#define IDM_MIRROR 241
#define IDM_FLIP 242
#define IDM_DOUBLE_HORIZONTALLY 243
#define IDM_DOUBLE_VERTICALLY 244
#define IDM_HALF_HORIZONTALLY 245
#define IDM_HALF_VERTICALLY 246

#define IDM_SHOW_BRIGHTER 256
#define IDM_SELECTION_OUTLINE 257
#define IDM_SELECTION_BRIGHTEN 258
#define IDM_SELECTION_INVERTED 259

// View: zoom and rulers.
#define IDM_ZOOM_IN 270
#define IDM_ZOOM_OUT 271
#define IDM_ACTUAL_SIZE 272
#define IDM_FIT_PICTURE 273
#define IDM_RULERS 274

#define IDM_RENDER_IMAGE 300
#define IDM_RENDER_SELECTION 301
#define IDM_RENDER_WITHOUT_BLUE 302
#define IDM_RENDER_SELECTION_WITHOUT_BLUE 303

#define IDM_RENDER_OPTIONS_WINDOW 310
#define IDM_TOOLBAR 312
#define IDM_PLAY 320
#define IDM_STOP_PLAYBACK 322
#define IDM_TOOL_MOVE 323
#define IDM_TOOL_ZOOM_ROTATE 324
#define IDM_TOOL_SKEW_FLIP 326
#define IDM_TOOL_BRUSH 329

#define IDM_ATTACH_RENDER_INFO 401
#define IDM_SET_FILTER_FOLDER 402
#define IDM_SET_SOUNDFILE_FOLDER 412
#define IDM_SAVE_SOUND_EVERY_RENDER 413
#define IDM_SOUNDFILE_NAMED_AFTER_IMAGE 414
#define IDM_NUMBER_SOUNDFILES 415
#define IDM_SOUNDCARD_OPTIONS 420

#define IDM_BRUSH_WINDOW 502
#define IDM_ECHORD_WINDOW 503
#define IDM_BROWSER_WINDOW 504

#define IDM_ABOUT 555
// Key H only: hides the active brush, Echord or image browser window.
#define IDM_HIDE_TOOL_WINDOW 695

// Recent files: entry index = id - IDM_RECENT_FIRST. The menu resource holds only the placeholder.
#define IDM_RECENT_FIRST 3400
#define IDM_RECENT_LAST 3410

// ---------------------------------------------------------------------------------------------
// Cursors (numbered as the tool commands) and the selection cursor
#define IDC_CURSOR_MOVE 323
#define IDC_CURSOR_ZOOM_ROTATE 324
#define IDC_CURSOR_SKEW_FLIP 326
#define IDC_CURSOR_BRUSH 329
#define IDC_CURSOR_SELECT 330

// ---------------------------------------------------------------------------------------------
// Toolbar bitmaps: 16 x 16 pictures numbered as their commands, and 32 x 32 pictures of the same
// commands at IDB_LARGE_OFFSET + command (for 200% scale). Undo and Redo use the system images.
// 24-bit BMPs; magenta (IDB_TRANSPARENT_COLOR, a COLORREF) marks the transparent pixels.
#define IDB_NEW_IMAGE 101
#define IDB_SHOW_BRIGHTER 256
#define IDB_RENDER_IMAGE 300
#define IDB_RENDER_WITHOUT_BLUE 302
#define IDB_PLAY 320
#define IDB_STOP_PLAYBACK 322
#define IDB_TOOL_MOVE 323
#define IDB_TOOL_ZOOM_ROTATE 324
#define IDB_TOOL_SKEW_FLIP 326
#define IDB_TOOL_BRUSH 329
#define IDB_LARGE_OFFSET 10000
#define IDB_TOOLBAR_SIZE_SMALL 16
#define IDB_TOOLBAR_SIZE_LARGE 32
#define IDB_TRANSPARENT_COLOR 0x00FF00FF

// ---------------------------------------------------------------------------------------------
// Child windows of the main window
#define IDW_TOOLBAR 924
#define IDW_STATUSBAR 925

// ---------------------------------------------------------------------------------------------
// Dialogs
#define IDD_RENDER_OPTIONS 1003
#define IDD_BRUSH 1011
#define IDD_IMAGE_BROWSER 1036
#define IDD_SOUNDCARD 1100
#define IDD_ECHORD 1704
#define IDD_ABOUT 3300
#define IDD_NEW_IMAGE 3301
#define IDD_ANALYZE_SOUNDFILE 3302

// Pitch and time fields, shared by "Render Options" (1003) and "Create New Image" (3301).
// The "&Close" button of 1003 is IDCANCEL (2).
#define IDC_LOW 1029
#define IDC_HIGH 1030
#define IDC_AMP 1031
#define IDC_TIME 1032
#define IDC_STEP 1041
#define IDC_TIME_PER_PIXEL 1042
#define IDC_SPIN_HIGH 1111
#define IDC_SPIN_LOW 1112
#define IDC_SPIN_AMP 1117
#define IDC_SPIN_TIME 1118
#define IDC_SOFT_SWEEPS 1200
#define IDC_NOISE_SLIDER 1201
#define IDC_RENDER_BUTTON 1186

// "Create New Image" (3301); Cancel is IDCANCEL (2).
#define IDC_WIDTH 1037
#define IDC_HEIGHT 1039
#define IDC_SPIN_WIDTH 1109
#define IDC_SPIN_HEIGHT 1110
#define IDC_NEW_IMAGE_BUTTON 1185

// "Soundcard/Realtime Options" (1100); OK and Cancel are IDOK (1) and IDCANCEL (2).
#define IDC_DEVICE_LIST 1033
#define IDC_BUFFER_SIZE_LIST 1034
#define IDC_BUFFER_COUNT 1035
#define IDC_BUFFER_COUNT_SPIN 1048
#define IDC_SAMPLE_RATE_LIST 1038
#define IDC_STEREO 1039

// About box (3300); its OK button is IDOK (1).
#define IDC_ABOUT_TEXT 3301
#define IDC_ABOUT_SUBTITLE 1213
#define IDC_ANALYZE_LOW 3310
#define IDC_ANALYZE_HIGH 3311
#define IDC_ANALYZE_ROWS 3312
#define IDC_ANALYZE_PPS 3313
#define IDC_ANALYZE_SOURCE 3314

// "Brush Tools" (1011); the close box sends IDCANCEL (2).
#define IDC_BRUSH_PALETTE 1005
#define IDC_BRUSH_PREVIEW 1028
#define IDC_COLOR1_SWATCH 1027
#define IDC_COLOR2_SWATCH 1021
#define IDC_SHAPE_GROUP 1023
#define IDC_SHAPE_SPRAY 1007
#define IDC_SHAPE_ROUND 1008
#define IDC_SHAPE_RECT 1006
#define IDC_SPRAY_DENSITY 1195
#define IDC_FADE_GROUP 1026
#define IDC_FADE_NOISE 1701
#define IDC_FADE_RIGHT 1702
#define IDC_FADE_DOWN 1703
#define IDC_MIX_GROUP 1025
#define IDC_MIX_COVER 1711
#define IDC_MIX_ADD 1712
#define IDC_MIX_FILTER 1713
#define IDC_MIX_BOIL 1714
#define IDC_BOILER_GROUP 1156
#define IDC_BOIL_HEAT 1149
#define IDC_BOIL_CYCLE 1148
#define IDC_BOIL_BLUR 1150
#define IDC_BOIL_SHIFT 1151
#define IDC_BOIL_READOUT 1084

// Patch buttons of the brush (slots 1 to 8) and Echord (slots 1 to 9 and 00) dialogs
#define IDC_BANK_A 1221
#define IDC_BANK_B 1222
#define IDC_SLOT_1 1231
#define IDC_SLOT_2 1232
#define IDC_SLOT_3 1233
#define IDC_SLOT_4 1234
#define IDC_SLOT_5 1235
#define IDC_SLOT_6 1236
#define IDC_SLOT_7 1237
#define IDC_SLOT_8 1238
#define IDC_SLOT_9 1239
#define IDC_SLOT_00 1240

// "Echord Tool" (1704); the close box sends IDCANCEL (2).
#define IDC_ECHORD_ANGLE 1105
#define IDC_ECHORD_WARP 1106
#define IDC_ECHORD_HOP 2300
#define IDC_ECHORD_NUM 2301
#define IDC_ECHORD_FADE 2302
#define IDC_ECHORD_MUL 2304
#define IDC_ECHORD_RAND 2305
#define IDC_ECHORD_HOP1 2306
#define IDC_ECHORD_FADE1 2307
#define IDC_ECHORD_JITTER 2308
#define IDC_ECHORD_ALT 1057
#define IDC_ECHORD_SWAP 1058
#define IDC_ECHORD_WRAP 1059
#define IDC_ECHORD_ANGLE_TEXT 1132
#define IDC_ECHORD_WARP_TEXT 1133
#define IDC_ECHORD_READOUT 1134
#define IDC_ECHORD_APPLY 1037
#define IDC_ECHORD_PARAMETERS_GROUP 1157
#define IDC_ECHORD_APPLY_GROUP 1038

// "Image Browser" (1036); "&Close" is IDCANCEL (2).
#define IDC_BROWSER_TABS 1082
#define IDC_BROWSER_LIST 1081
#define IDC_BROWSER_ADD_FOLDER 5
#define IDC_BROWSER_REFRESH 1083
#define IDC_BROWSER_RED 1168
#define IDC_BROWSER_GREEN 1169
#define IDC_BROWSER_BLUE 1170
#define IDC_BROWSER_RED_LABEL 1171
#define IDC_BROWSER_GREEN_LABEL 1172
#define IDC_BROWSER_BLUE_LABEL 1173
#define IDC_BROWSER_FLIP_LR 1160
#define IDC_BROWSER_FLIP_UD 1167
#define IDC_BROWSER_FILTER_GROUP 1038
#define IDC_BROWSER_FLIP_GROUP 1166

// ---------------------------------------------------------------------------------------------
// String table besides the help texts (which use the command ids above)
#define IDS_APP_NAME 3001
#define IDS_APP_SUBTITLE 3002
#define IDS_ABOUT_TEXT 3003

// Registry value names
#define IDS_VALUE_IMAGE_WIDTH 3004
#define IDS_VALUE_IMAGE_HEIGHT 3005
#define IDS_VALUE_OUTPUT_TIME 3006
#define IDS_VALUE_PITCH_LOW 3007
#define IDS_VALUE_PITCH_HIGH 3008
#define IDS_VALUE_OUTPUT_AMP 3009
#define IDS_VALUE_RAND_PHASE 3010
#define IDS_SETTINGS_KEY 3012
#define IDS_VALUE_DIR_IMAGE 3013
#define IDS_VALUE_DIR_FILTER 3014
#define IDS_VALUE_OUTPUT_DEVICE 3015
#define IDS_VALUE_MAIN_X 3016
#define IDS_VALUE_MAIN_Y 3017
#define IDS_VALUE_MAIN_W 3018
#define IDS_VALUE_MAIN_H 3019
#define IDS_VALUE_BRUSH_X 3020
#define IDS_VALUE_BRUSH_Y 3021
#define IDS_VALUE_ECHORD_X 3022
#define IDS_VALUE_ECHORD_Y 3023
#define IDS_VALUE_MAIN_CMDSHOW 3024
#define IDS_VALUE_OUTPUT_BUFFERS 3026
#define IDS_VALUE_OUTPUT_SAMPLE_RATE 3027
#define IDS_VALUE_RENDER_OPTIONS 3028
#define IDS_VALUE_DIR_SOUNDFILE 3029
#define IDS_VALUE_DIR_ANALYSED 3030
#define IDS_VALUE_IMGBR_X 3031
#define IDS_VALUE_IMGBR_Y 3032
#define IDS_VALUE_IMGBR_W 3033
#define IDS_VALUE_IMGBR_H 3034
#define IDS_VALUE_PROGRAM_OPTIONS 3035
#define IDS_VALUE_PATCHES_BRUSH 3036
#define IDS_VALUE_PATCHES_ECHORD 3037
#define IDS_VALUE_RNDR_X 3038
#define IDS_VALUE_RNDR_Y 3039
#define IDS_VALUE_IMGBR_SHOW 3040
#define IDS_VALUE_RNDR_SHOW 3041
#define IDS_VALUE_ECHORD_SHOW 3042
#define IDS_VALUE_BRUSH_SHOW 3043
#define IDS_VALUE_CANVAS_ZOOM 3044
#define IDS_VALUE_CANVAS_RULERS 3045

#endif
