#include "shell/win/command_table.h"

#include <algorithm>
#include <array>

#include "image/win/clipboard_picture.h"
#include "resources/resource_ids.h"
#include "shell/file_list.h"
#include "shell/win/analyze_command.h"
#include "shell/win/clipboard_commands.h"
#include "shell/win/commands.h"
#include "shell/win/edit_commands.h"
#include "shell/win/help_command.h"
#include "shell/win/image_commands.h"
#include "shell/win/playback_runtime.h"
#include "shell/win/program.h"
#include "shell/win/render_flow.h"
#include "shell/win/render_runtime.h"

namespace lumetra::win {
namespace {

using enum WhileRendering;

// A sound of ten values or fewer is no sound (the WAV writer would not keep it either).
bool noSound(const MenuFacts& f) {
    return f.soundLength < 11;
}
bool noPath(const MenuFacts& f) {
    return !f.hasPath;
}
bool noUndoImage(const MenuFacts& f) {
    return !f.hasUndoImage;
}
bool noClipboardPicture(const MenuFacts& f) {
    return !f.clipboardHasPicture;
}
bool deviceOrFileBusy(const MenuFacts& f) {
    return f.playbackActive || f.soundfileOpen;
}

bool attachRenderInfo(const MenuFacts& f) {
    return f.options.attachRenderInfo != 0;
}
bool saveSoundEveryRender(const MenuFacts& f) {
    return f.options.soundfile.saveSoundEveryRender != 0;
}
bool numberSoundfiles(const MenuFacts& f) {
    return f.options.soundfile.numberSoundfiles != 0;
}
bool soundfileNamedAfterImage(const MenuFacts& f) {
    return f.options.soundfile.soundfileNamedAfterImage == 1;
}
bool brightenStyle(const MenuFacts& f) {
    return f.options.selectionStyle == SelectionStyle::Brighten;
}
bool invertedStyle(const MenuFacts& f) {
    return f.options.selectionStyle == SelectionStyle::Inverted;
}
// Any other stored style draws as the outline.
bool outlineStyle(const MenuFacts& f) {
    return !brightenStyle(f) && !invertedStyle(f);
}
bool toolbarVisible(const MenuFacts& f) {
    return f.toolbarVisible;
}
bool brushOpen(const MenuFacts& f) {
    return f.brushOpen;
}
bool echordOpen(const MenuFacts& f) {
    return f.echordOpen;
}
bool browserOpen(const MenuFacts& f) {
    return f.browserOpen;
}
bool renderOptionsOpen(const MenuFacts& f) {
    return f.renderOptionsOpen;
}
bool rulersShown(const MenuFacts& f) {
    return f.rulersShown;
}

constexpr Command one(int id, CommandHandler run, WhileRendering whileRendering = Dropped,
                      MenuRule grayed = nullptr, MenuRule checked = nullptr) {
    return Command{id, id, run, whileRendering, grayed, checked};
}
// A command of a feature that comes later: its menu item stays grayed and its key does nothing.
constexpr Command later(int id, MenuRule grayed = nullptr) {
    return Command{id, id, nullptr, Dropped, grayed, nullptr};
}

constexpr std::array kCommands{
    // File
    one(IDM_NEW_IMAGE, newImageCommand),
    one(IDM_OPEN_IMAGE, openImageCommand),
    one(IDM_REFRESH_FROM_FILE, refreshFromFileCommand, Dropped, noPath),
    one(IDM_ANALYZE_SOUNDFILE, analyzeSoundfileCommand),
    one(IDM_SAVE_IMAGE, saveImageCommand),
    one(IDM_SAVE_IMAGE_AS, saveImageAsCommand),
    one(IDM_SAVE_SOUND_AS, saveSoundAsCommand, Dropped, noSound),
    Command{FileList::kFirstCommand, FileList::kLastCommand, openRecentCommand, Dropped},
    one(IDM_EXIT, exitCommand, ClosesAfter),
    // Edit
    one(IDM_UNDO, undoCommand, Dropped, noUndoImage),
    one(IDM_REDO, undoCommand),
    one(IDM_CUT, copyCommand),
    one(IDM_COPY, copyCommand),
    one(IDM_PASTE, pasteCommand, Dropped, noClipboardPicture),
    one(IDM_DELETE, pictureCommand),
    // Colors
    one(IDM_INVERT_COLORS, pictureCommand),
    one(IDM_NORMALIZE, pictureCommand),
    one(IDM_BRIGHTEN, pictureCommand),
    one(IDM_DARKEN, pictureCommand),
    one(IDM_MORE_CONTRAST, pictureCommand),
    one(IDM_APPLY_BRUSH, brushCommand),
    one(IDM_APPLY_BOILER, brushCommand),
    one(IDM_CLEAR_EXCESS_BLUE, pictureCommand),
    // Image
    one(IDM_MIRROR, pictureCommand),
    one(IDM_FLIP, pictureCommand),
    one(IDM_DOUBLE_HORIZONTALLY, pictureCommand),
    one(IDM_HALF_HORIZONTALLY, pictureCommand),
    one(IDM_DOUBLE_VERTICALLY, pictureCommand),
    one(IDM_HALF_VERTICALLY, pictureCommand),
    // Filter
    one(IDM_FILTER_FROM_BROWSER, compositeFromBrowserCommand),
    one(IDM_PASTE_AS_FILTER, pasteCommand, Dropped, noClipboardPicture),
    one(IDM_FILTER_FROM_FILE, compositeFromFileCommand),
    one(IDM_OVERLAY_FROM_BROWSER, compositeFromBrowserCommand),
    one(IDM_PASTE_AS_OVERLAY, pasteCommand, Dropped, noClipboardPicture),
    one(IDM_OVERLAY_FROM_FILE, compositeFromFileCommand),
    // Sound
    one(IDM_RENDER_IMAGE, renderCommand),
    one(IDM_RENDER_SELECTION, renderCommand),
    one(IDM_RENDER_WITHOUT_BLUE, renderCommand),
    one(IDM_RENDER_SELECTION_WITHOUT_BLUE, renderCommand),
    one(IDM_PLAY, playCommand, Dropped, noSound),
    one(IDM_STOP_PLAYBACK, playCommand),
    // Tools and display
    one(IDM_TOOLBAR, toolbarCommand, Runs, nullptr, toolbarVisible),
    one(IDM_BRUSH_WINDOW, toolWindowCommand, Runs, nullptr, brushOpen),
    one(IDM_ECHORD_WINDOW, toolWindowCommand, Runs, nullptr, echordOpen),
    one(IDM_BROWSER_WINDOW, toolWindowCommand, Runs, nullptr, browserOpen),
    one(IDM_RENDER_OPTIONS_WINDOW, toolWindowCommand, Dropped, nullptr, renderOptionsOpen),
    one(IDM_HIDE_TOOL_WINDOW, hideToolWindowCommand, Runs),
    one(IDM_TOOL_BRUSH, selectToolCommand),
    one(IDM_TOOL_MOVE, selectToolCommand),
    one(IDM_TOOL_ZOOM_ROTATE, selectToolCommand),
    one(IDM_TOOL_SKEW_FLIP, selectToolCommand),
    one(IDM_SHOW_BRIGHTER, showBrighterCommand, Runs),
    // Options
    one(IDM_ATTACH_RENDER_INFO, optionSwitchCommand, Dropped, nullptr, attachRenderInfo),
    one(IDM_SET_FILTER_FOLDER, folderCommand),
    one(IDM_SELECTION_BRIGHTEN, selectionStyleCommand, Runs, nullptr, brightenStyle),
    one(IDM_SELECTION_INVERTED, selectionStyleCommand, Runs, nullptr, invertedStyle),
    one(IDM_SELECTION_OUTLINE, selectionStyleCommand, Runs, nullptr, outlineStyle),
    one(IDM_SET_SOUNDFILE_FOLDER, folderCommand),
    one(IDM_SAVE_SOUND_EVERY_RENDER, optionSwitchCommand, Dropped, nullptr, saveSoundEveryRender),
    one(IDM_SOUNDFILE_NAMED_AFTER_IMAGE, optionSwitchCommand, Dropped, nullptr,
        soundfileNamedAfterImage),
    one(IDM_NUMBER_SOUNDFILES, optionSwitchCommand, Dropped, nullptr, numberSoundfiles),
    one(IDM_SOUNDCARD_OPTIONS, soundOptionsCommand, Dropped, deviceOrFileBusy),
    // View
    one(IDM_ZOOM_IN, zoomCommand, Runs),
    one(IDM_ZOOM_OUT, zoomCommand, Runs),
    one(IDM_ACTUAL_SIZE, zoomCommand, Runs),
    one(IDM_FIT_PICTURE, zoomCommand, Runs),
    one(IDM_RULERS, rulersCommand, Runs, nullptr, rulersShown),
    // Help
    one(IDM_HELP, helpCommand, Runs),
    one(IDM_ABOUT, aboutCommand),
};

}  // namespace

std::span<const Command> commandTable() {
    return kCommands;
}

const Command* findCommand(int id) {
    const auto found = std::find_if(kCommands.begin(), kCommands.end(), [id](const Command& c) {
        return id >= c.first && id <= c.last;
    });
    return found == kCommands.end() ? nullptr : &*found;
}

void executeCommand(Program& program, int id) {
    if (!program.canvas) return;
    const Command* command = findCommand(id);
    if (!command || !command->run) return;
    if (program.renderRunning && command->whileRendering != Runs) {
        if (command->whileRendering == ClosesAfter) program.closeAfterRender = true;
        return;
    }
    command->run(program, id);
}

std::vector<MenuItemState> menuStates(const MenuFacts& facts) {
    std::vector<MenuItemState> states;
    for (const Command& c : kCommands) {
        if (c.first != c.last) continue;
        MenuItemState s{unsigned(c.first), !c.run || (c.grayed && c.grayed(facts)), {}};
        if (c.checked) s.checked = c.checked(facts);
        states.push_back(s);
    }
    return states;
}

void applyMenuStates(HMENU menu, const std::vector<MenuItemState>& states) {
    if (!menu) return;
    for (const MenuItemState& s : states) {
        EnableMenuItem(menu, s.id, MF_BYCOMMAND | (s.grayed ? MF_GRAYED : MF_ENABLED));
        if (s.checked) {
            CheckMenuItem(menu, s.id, MF_BYCOMMAND | (*s.checked ? MF_CHECKED : MF_UNCHECKED));
        }
    }
}

MenuFacts currentMenuFacts(const Program& program) {
    MenuFacts f;
    f.playbackActive = playbackActive(program.playback);
    f.soundfileOpen = soundfileOpen(program.render);
    f.soundLength = std::int64_t(program.render.latestSound.length());
    f.options = program.settings.shell;
    f.hasUndoImage = !program.document.state().undo.pixels.empty();
    f.hasPath = !program.document.path().empty();
    f.clipboardHasPicture = clipboardHasPicture();
    f.toolbarVisible = program.toolbar && IsWindowVisible(program.toolbar);
    const ToolWindows& t = program.tools;
    f.brushOpen = t.brush && t.brush->isOpen();
    f.echordOpen = t.echord && t.echord->isOpen();
    f.browserOpen = t.browser && t.browser->isOpen();
    f.renderOptionsOpen = t.renderOptions && t.renderOptions->isOpen();
    f.rulersShown = program.canvas && program.canvas->rulersShown();
    return f;
}

void updateMenuState(Program& program, HMENU menu) {
    applyMenuStates(menu, menuStates(currentMenuFacts(program)));
    program.recent.updateMenu(menu);
}

}  // namespace lumetra::win
