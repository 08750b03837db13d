#pragma once
// The main window's toolbar: 17 entries (New Image, Undo, Redo, the four tools, the brighter
// display, the render and playback buttons) with tooltips from the string table.

#include <windows.h>

#include <array>
#include <string>

#include "base/win/unique_handle.h"

namespace lumetra::win {

struct ToolbarEntry {
    int command;  // 0 for a separator
    BYTE style;
};

// The entries in their order.
const std::array<ToolbarEntry, 17>& toolbarEntries();

// Creates the toolbar (child id 924) with its images (into `images`, which the toolbar uses
// from then on) and tooltips; the button of the current tool starts checked. The status bar is
// registered with the tooltip control as well.
HWND createToolbar(HWND parent, HINSTANCE instance, HWND statusBar, int currentTool,
                   UniqueImageList& images);

// Checks the button of a tool (the check group unchecks the others) and repaints.
void checkToolButton(HWND toolbar, int tool);

// The tooltip text of a command: its string-table entry, at most 119 characters.
std::wstring tooltipText(HINSTANCE instance, UINT_PTR id);

}  // namespace lumetra::win
