#include "shell/win/menu_state.h"

#include "shell/win/app_state.h"
#include "shell/win/ids.h"

namespace lumetra::win {
namespace {

MenuItemState grayedWhen(unsigned id, bool grayed) {
    return MenuItemState{id, grayed, {}};
}
MenuItemState checkedWhen(unsigned id, bool checked) {
    return MenuItemState{id, {}, checked};
}

}  // namespace

std::vector<MenuItemState> computeMenuStates(const MenuStateInput& in) {
    const ShellOptions& o = in.options;
    // A sound of ten values or fewer is no sound (the WAV writer would not keep it either).
    const bool hasSound = in.soundLength >= 11;
    return {
        grayedWhen(IDM_SOUNDCARD_OPTIONS, in.playbackActive || in.soundfileOpen),
        grayedWhen(IDM_SAVE_SOUND_AS, !hasSound),
        grayedWhen(IDM_PLAY, !hasSound),
        checkedWhen(IDM_SAVE_SOUND_EVERY_RENDER, o.soundfile.saveSoundEveryRender != 0),
        checkedWhen(IDM_ATTACH_RENDER_INFO, o.attachRenderInfo != 0),
        checkedWhen(IDM_NUMBER_SOUNDFILES, o.soundfile.numberSoundfiles != 0),
        checkedWhen(IDM_SOUNDFILE_NAMED_AFTER_IMAGE, o.soundfile.soundfileNamedAfterImage == 1),
        checkedWhen(IDM_SELECTION_BRIGHTEN, o.selectionStyle == SelectionStyle::Brighten),
        checkedWhen(IDM_SELECTION_INVERTED, o.selectionStyle == SelectionStyle::Inverted),
        checkedWhen(IDM_SELECTION_OUTLINE, o.selectionStyle != SelectionStyle::Brighten &&
                                               o.selectionStyle != SelectionStyle::Inverted),
        grayedWhen(IDM_UNDO, !in.hasUndoImage),
        grayedWhen(IDM_REFRESH_FROM_FILE, !in.hasPath),
        grayedWhen(IDM_PASTE, !in.clipboardHasDib),
        grayedWhen(IDM_PASTE_AS_OVERLAY, !in.clipboardHasDib),
        grayedWhen(IDM_PASTE_AS_FILTER, !in.clipboardHasDib),
        checkedWhen(IDM_TOOLBAR, in.toolbarVisible),
        checkedWhen(IDM_BRUSH_WINDOW, in.brushOpen),
        checkedWhen(IDM_ECHORD_WINDOW, in.echordOpen),
        checkedWhen(IDM_BROWSER_WINDOW, in.browserOpen),
        checkedWhen(IDM_RENDER_OPTIONS_WINDOW, in.renderOptionsOpen),
    };
}

void applyMenuStates(HMENU menu, const std::vector<MenuItemState>& states) {
    if (!menu) return;
    for (const MenuItemState& s : states) {
        if (s.grayed) {
            EnableMenuItem(menu, s.id, MF_BYCOMMAND | (*s.grayed ? MF_GRAYED : MF_ENABLED));
        }
        if (s.checked) {
            CheckMenuItem(menu, s.id, MF_BYCOMMAND | (*s.checked ? MF_CHECKED : MF_UNCHECKED));
        }
    }
}

}  // namespace lumetra::win
