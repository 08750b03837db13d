#pragma once
// The private messages through which a test driver in another process reads the program's state
// (reading another process's menu fails under Wine, so the program answers for itself) and asks
// it to open or save a file without going through a file dialog. Only <windows.h> is needed, so
// the driver includes this header as it is.

#include <windows.h>

namespace lumetra::testprotocol {

// wParam: a command id. Runs the menu state update and answers
// GetMenuState(menu, id, MF_BYCOMMAND) of the main menu: MF_GRAYED, MF_CHECKED, ... bits, or
// 0xFFFFFFFF when the menu has no such item.
inline constexpr UINT kQueryMenuState = WM_APP + 1;

// wParam: one of DocumentQuery; the answer is the number.
inline constexpr UINT kQueryDocument = WM_APP + 2;

// Posted by the program to itself to carry out a WM_COPYDATA request (below).
inline constexpr UINT kRunPendingRequest = WM_APP + 3;

// wParam: one of DocumentText; lParam: a buffer of kTextBufferChars wide characters inside the
// program's process (VirtualAllocEx it there, read it back with ReadProcessMemory). The program
// writes the zero-terminated text, cut to fit, and answers its length (-1 for an unknown wParam).
inline constexpr UINT kQueryDocumentText = WM_APP + 4;
inline constexpr int kTextBufferChars = 260;

inline constexpr UINT kFirstTestMessage = kQueryMenuState;
inline constexpr UINT kLastTestMessage = kQueryDocumentText;

enum DocumentText : WPARAM {
    kPathText = 0,         // the image's file path (empty for a new image)
    kDisplayNameText = 1,  // the name shown in the title
    kBaseFolderText = 2,   // the program folders as settled (with their trailing separators)
    kImageFolderText = 3,
    kFilterFolderText = 4,
    kSoundfileFolderText = 5,
    kAnalysesFolderText = 6,
    kUndoFolderText = 7,
    // + n: the stored path of recent-files entry n (0 = oldest).
    kRecentEntryText = 0x100,
    // + n: the text of item n (0 = top) of the "Recent &Files" submenu as the menu holds it.
    kRecentMenuText = 0x200,
};

enum DocumentQuery : WPARAM {
    kPictureWidth = 0,
    kPictureHeight = 1,
    kSelectionLeft = 2,
    kSelectionTop = 3,
    kSelectionRight = 4,
    kSelectionBottom = 5,
    // FNV-1a (32 bits) over the picture's pixel bytes, memory row 0 (the bottom row) first,
    // 3 * width bytes per row (the row padding is not included).
    kPixelHash = 6,
    kCurrentTool = 7,    // 329, 323, 324 or 326
    kDragMode = 8,       // 0 none, 7101 brush, 7102 selecting, 7103 moving, 7104 deforming
    kRenderRunning = 9,  // 1 while a render runs
    kSoundLength = 10,   // 16-bit values in the latest sound
    kToolbarVisible = 11,
    kBrushOpen = 12,  // tool windows: 1 when open (visible and not rolled up)
    kEchordOpen = 13,
    kBrowserOpen = 14,
    kRenderOptionsOpen = 15,
    kShowBrighter = 16,
    kSelectionStyle = 17,  // 0 outline only, 1 brighten, 2 inverted
    kViewOffsetX = 18,     // where picture pixel (0, 0) is drawn in the canvas client area
    kViewOffsetY = 19,
    kHasPath = 20,  // 1 when the image has a file path
    kSoundfileCounter = 21,
    kLowFrequencyMilli = 22,  // the image's render settings, in thousandths
    kHighFrequencyMilli = 23,
    kAmpFactorMilli = 24,
    kOutputTimeMilli = 25,
    kLastRequestResult = 26,  // of the last WM_COPYDATA request: -1 pending, 0 failed, 1 done
    kCanvasWindow = 27,       // the canvas window's handle
    kAttachRenderInfo = 28,
    kSaveSoundEveryRender = 29,
    kRenderInfoValid = 30,  // the valid word of the image's render info (1 after a render)
    kNumberSoundfiles = 31,
    kSoundfileNamedAfterImage = 32,
    kRecentCount = 33,       // entries of the recent-files list
    kRecentMenuGrayed = 34,  // 1 when "Recent &Files" is grayed, 0 when not, -1 without a menu
    kRecentMenuItems = 35,   // items of the "Recent &Files" submenu (-1 before it exists)
    kUndoIndex = 36,         // the slot the next undo snapshot goes to
    kUndoImageWidth = 37,    // the undo image's size (0 when it holds none)
    kUndoImageHeight = 38,
};

// The queries by name, for drivers that take them on their command line.
struct DocumentQueryName {
    const char* name;
    DocumentQuery query;
};

inline constexpr DocumentQueryName kDocumentQueryNames[] = {
    {"width", kPictureWidth},
    {"height", kPictureHeight},
    {"selection-left", kSelectionLeft},
    {"selection-top", kSelectionTop},
    {"selection-right", kSelectionRight},
    {"selection-bottom", kSelectionBottom},
    {"pixel-hash", kPixelHash},
    {"current-tool", kCurrentTool},
    {"drag-mode", kDragMode},
    {"render-running", kRenderRunning},
    {"sound-length", kSoundLength},
    {"toolbar-visible", kToolbarVisible},
    {"brush-open", kBrushOpen},
    {"echord-open", kEchordOpen},
    {"browser-open", kBrowserOpen},
    {"render-options-open", kRenderOptionsOpen},
    {"show-brighter", kShowBrighter},
    {"selection-style", kSelectionStyle},
    {"view-offset-x", kViewOffsetX},
    {"view-offset-y", kViewOffsetY},
    {"has-path", kHasPath},
    {"soundfile-counter", kSoundfileCounter},
    {"low-frequency-milli", kLowFrequencyMilli},
    {"high-frequency-milli", kHighFrequencyMilli},
    {"amp-factor-milli", kAmpFactorMilli},
    {"output-time-milli", kOutputTimeMilli},
    {"last-request-result", kLastRequestResult},
    {"canvas-window", kCanvasWindow},
    {"attach-render-info", kAttachRenderInfo},
    {"save-sound-every-render", kSaveSoundEveryRender},
    {"render-info-valid", kRenderInfoValid},
    {"number-soundfiles", kNumberSoundfiles},
    {"soundfile-named-after-image", kSoundfileNamedAfterImage},
    {"recent-count", kRecentCount},
    {"recent-menu-grayed", kRecentMenuGrayed},
    {"recent-menu-items", kRecentMenuItems},
    {"undo-index", kUndoIndex},
    {"undo-width", kUndoImageWidth},
    {"undo-height", kUndoImageHeight},
};

// The document texts by name; "recent-N" and "recent-menu-N" take an index after the dash.
struct DocumentTextName {
    const char* name;
    DocumentText text;
};

inline constexpr DocumentTextName kDocumentTextNames[] = {
    {"path", kPathText},
    {"name", kDisplayNameText},
    {"base-folder", kBaseFolderText},
    {"image-folder", kImageFolderText},
    {"filter-folder", kFilterFolderText},
    {"soundfile-folder", kSoundfileFolderText},
    {"analyses-folder", kAnalysesFolderText},
    {"undo-folder", kUndoFolderText},
    {"recent-menu-", kRecentMenuText},
    {"recent-", kRecentEntryText},
};

// WM_COPYDATA requests: dwData is one of these, lpData a zero-terminated UTF-16 path. The
// program answers TRUE at once and carries the request out afterwards (a warning box may come up
// on failure); poll kLastRequestResult for the outcome.
inline constexpr ULONG_PTR kOpenImagePath = 0x4C550001;    // as Open Image after its dialog
inline constexpr ULONG_PTR kSaveImageAsPath = 0x4C550002;  // as Save Image As after its dialog

}  // namespace lumetra::testprotocol
